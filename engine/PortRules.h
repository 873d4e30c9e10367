#pragma once

#include <string>
#include <vector>

#include "SystemServices.h"

namespace engine {

constexpr size_t kMaxListedPorts = 256;

// The rows the port list shows: the first 256 entries, in enumeration order.
std::vector<PortEntry> ListedPorts(const std::vector<PortEntry>& ports);

// The row to select among the listed ports: the last one whose name begins
// with "LPT1", else "COM1", else "FILE" (case-sensitive); row 0 never
// counts. -1 for none.
int PreferredPortRow(const std::vector<PortEntry>& listed);

// Monitor names as list rows: nameless monitors leave no row and no gap.
std::vector<std::string> MonitorRows(const std::vector<MonitorEntry>& monitors);

}  // namespace engine
