#include "Tables.h"

namespace engine {

// Display texts are held scrambled only (see Descramble); each has its own key.
// They were made with tools/scramble.
const PrinterModel ModelTable[kModelCount] = {
    {"QX-201 Series", "QX201", "QX20N", "EDGNJJGFBFEVCRAQJBHOJOFAEE", 0x3A71},
    {"QX-202 Series", "QX202", "QX20N", "ANALFYCZEPFDDEFVDZAMFZCLIP", 0x5C2E},
    {"QX-203 Series", "QX203", "QX20N", "IAHCFREWDHGWJUAJELIBGECUDL", 0x81D4},
    {"QX-204 Series", "QX204", "QX20N", "DAFLFXCJIUAUBRAMENIEJACGFV", 0x1F96},
    {"QX-205 Series", "QX205", "QX20N", "FQJKHZCCBTHAGCBKCECZBNBEGR", 0xC35B},
    {"QX-205X Series", "QX205X", "QX20N", "CLEXGSDZGUHYDFGPGCCYFWCLEIDE", 0x6E09},
    {"QX-206 Series", "QX206", "QX20N", "JMAIGVHWGVILIHHIFNBDDYJSAJ", 0xA7E2},
    {"QX-207 Series", "QX207", "QX20N", "ESIVJBGWJAARCNIZFVAPGVDTCZ", 0x2B48},
    {"QX-207M Series", "QX207M", "QX20N", "GEESALHPIDEMJVINJPEGBAHXILIM", 0xF10D},
    {"QX-H207 Series", "QXH207", "QX20N", "HPBGCMIZDDFHHQCGCZECDSDQDVJV", 0x94B7},
    {"QX-20N Series", "QX20N", "QX20N", "BCBZAPATAVBEJQDFAHDZGXFEIN", 0x4D63},
};

const char* const InitialPrinterNameText = "FHJOCJAHGVFHEAFMFZFKHUGLIJFMGPEV";
const uint16_t InitialPrinterNameKey = 0xD82A;

const char* const PortValueNames[kPortCount] = {
    "LPT1:", "LPT2:", "LPT3:", "COM1:", "COM2:", "COM3:", "COM4:",
};

const char* const BaudRateTexts[9] = {
    "300", "1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200",
};
const char* const DataBitsTexts[4] = {"5", "6", "7", "8"};
const char* const StopBitsTexts[3] = {"1", "1.5", "2"};
// Even, Mark, None, Odd, Space.
const char* const ParityLetters[5] = {"E", "M", "N", "O", "S"};
// None is a single blank, not an empty text; XonXoff, Hardware.
const char* const FlowLetters[3] = {" ", "x", "p"};

// The registered names keep their own letter case; the platform compares
// file names without regard to it.
const DriverFile DriverFiles[kDriverFileCount] = {
    {nullptr, true, ".DLL", DriverFileRole::DependentFile, nullptr, 3},
    {nullptr, false, ".GPD", DriverFileRole::DataFile, nullptr, -1},
    {"uniDRVui.DLL", false, nullptr, DriverFileRole::ConfigFile, "\\uniDRVui.DLL", -1},
    {"uniDRV.DLL", false, nullptr, DriverFileRole::DriverPath, "\\uniDRV.DLL", -1},
    {"UNIDRV.HLP", false, nullptr, DriverFileRole::HelpFile, "\\uniDRV.HLP", -1},
    {"UNIRES.DLL", false, nullptr, DriverFileRole::DependentFile, "\\unires.DLL", 1},
    {"TTFSUB.GPD", false, nullptr, DriverFileRole::DependentFile, "\\ttfsub.GPD", 0},
    {"STDNAMES.GPD", false, nullptr, DriverFileRole::DependentFile, "\\stdnames.GPD", 2},
};

}  // namespace engine
