#include "PortRules.h"

namespace engine {

std::vector<PortEntry> ListedPorts(const std::vector<PortEntry>& ports) {
    const size_t count = ports.size() < kMaxListedPorts ? ports.size() : kMaxListedPorts;
    return std::vector<PortEntry>(ports.begin(), ports.begin() + count);
}

int PreferredPortRow(const std::vector<PortEntry>& listed) {
    // 0 stands for "no such row", so row 0 is never preferred.
    int com1 = 0;
    int lpt1 = 0;
    int file = 0;
    for (size_t i = 0; i < listed.size() && i < kMaxListedPorts; ++i) {
        const std::string& name = listed[i].name;
        if (name.size() < 4) continue;
        const std::string prefix = name.substr(0, 4);
        const int row = static_cast<int>(i);
        if (prefix == "COM1") com1 = row;
        if (prefix == "LPT1") lpt1 = row;
        if (prefix == "FILE") file = row;
    }
    if (lpt1 > 0) return lpt1;
    if (com1 > 0) return com1;
    if (file > 0) return file;
    return -1;
}

std::vector<std::string> MonitorRows(const std::vector<MonitorEntry>& monitors) {
    std::vector<std::string> rows;
    for (const MonitorEntry& monitor : monitors) {
        if (monitor.hasName) rows.push_back(monitor.name);
    }
    return rows;
}

}  // namespace engine
