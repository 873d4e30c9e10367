#include <set>
#include <string>

#include <gtest/gtest.h>

#include "Descramble.h"
#include "Scramble.h"
#include "Tables.h"

namespace {

using engine::Descramble;

std::string Bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s += static_cast<char>(v);
    return s;
}

struct PairCase {
    const char* text;
    int value;
};

// With a key whose high byte is 0 the single output byte is the pair value.
TEST(DescramblePairStep, GivesThePairValueModulo256) {
    const PairCase cases[] = {
        {"AA", 0}, {"BA", 26}, {"JV", 255}, {"JW", 0}, {"ZZ", 163}, {"aA", 64}, {"AZ", 25},
    };
    for (const PairCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Descramble(c.text, 0x00FF), Bytes({c.value}));
    }
}

TEST(DescrambleKeyStep, FirstByteIsPairXorKeyHighByte) {
    for (int key : {0x0000, 0x00FF, 0x0100, 0x1234, 0xABCD, 0xFF00, 0xFFFF}) {
        SCOPED_TRACE(key);
        EXPECT_EQ(Descramble("ZZ", key), Bytes({163 ^ (key >> 8)}));
        // The low byte only matters from the second byte on.
        EXPECT_EQ(Descramble("ZZBA", key)[0], Descramble("ZZBA", key & 0xFF00)[0]);
    }
}

// Worked by hand: k1 = ((m0 + k0) * 5089 + 57932) mod 65536, from the pair
// value m0, not from the output byte.
TEST(DescrambleKeyStep, AdvancesTheKeyWithThePairValue) {
    // m = 26, 26; k0 = 0x1234 -> k1 = 0xC2DA.
    EXPECT_EQ(Descramble("BABA", 0x1234), Bytes({0x08, 0xD8}));
    // m = 26, 255, 163; k0 = 0xABCD.
    EXPECT_EQ(Descramble("BAJVZZ", 0xABCD), Bytes({0xB1, 0xE2, 0x3D}));
}

TEST(DescrambleKeyStep, LowByteOfKeyTakesEffectFromSecondByte) {
    EXPECT_NE(Descramble("BABA", 0x1234)[1], Descramble("BABA", 0x1235)[1]);
}

TEST(DescrambleLength, EmptyAndSingleCharacterGiveEmpty) {
    for (int key : {0, 1, 0x8000, 0xFFFF, -1}) {
        SCOPED_TRACE(key);
        EXPECT_EQ(Descramble("", key), "");
        EXPECT_EQ(Descramble("Q", key), "");
    }
}

TEST(DescrambleLength, OddLengthIgnoresTheLastCharacter) {
    const std::string even = "BAJVZZ";
    for (char last : {'A', 'Q', 'Z', 'a'}) {
        SCOPED_TRACE(last);
        const std::string result = Descramble(even + last, 0x4D63);
        EXPECT_EQ(result.size(), 3u);
        EXPECT_EQ(result, Descramble(even, 0x4D63));
    }
}

TEST(DescrambleLength, ZeroBytesInsideTheResultCount) {
    // Pair value 26 against key high byte 0x1A gives a zero first byte.
    EXPECT_EQ(Descramble("BABA", 0x1A00).size(), 2u);
    EXPECT_EQ(Descramble("BABA", 0x1A00)[0], '\0');
    // From key 0x1234 the second key is 0xC2DA; "HM" is pair value 0xC2.
    EXPECT_EQ(Descramble("BAHMBA", 0x1234).substr(0, 2), Bytes({0x08, 0x00}));
    EXPECT_EQ(Descramble("BAHMBA", 0x1234).size(), 3u);
}

TEST(DescrambleKey, BitsAbove16HaveNoEffect) {
    const std::string text = "CLEXGSDZGUHYDFGPGCCYFWCLEIDE";
    for (int key : {0x0000, 0x6E09, 0xFFFF}) {
        SCOPED_TRACE(key);
        const std::string expected = Descramble(text, key);
        EXPECT_EQ(Descramble(text, key | 0x10000), expected);
        EXPECT_EQ(Descramble(text, key | 0x7FFF0000), expected);
        EXPECT_EQ(Descramble(text, static_cast<int>(key | 0x80000000u)), expected);
    }
    EXPECT_EQ(Descramble(text, -1), Descramble(text, 0xFFFF));
}

TEST(DescramblePrefix, ChangingOnePairLeavesEarlierBytes) {
    const std::string text = "EDGNJJGFBFEVCRAQ";
    std::string changed = text;
    changed[6] = 'A';  // pair 3
    const std::string a = Descramble(text, 0x3A71);
    const std::string b = Descramble(changed, 0x3A71);
    EXPECT_EQ(a.substr(0, 3), b.substr(0, 3));
    EXPECT_NE(a[3], b[3]);
    EXPECT_EQ(Descramble(text, 0x3A71), a) << "same text and key must give the same result";
}

TEST(DescrambleRoundTrip, UndoesTheToolsForwardStep) {
    const std::string texts[] = {"", "A", "QX-201 Series", Bytes({0, 255, 1, 128, 0x7F}),
                                 std::string(40, 'z')};
    for (const std::string& plain : texts) {
        for (uint16_t key : {0x0000, 0x0001, 0x8000, 0xBEEF, 0xFFFF}) {
            SCOPED_TRACE(plain + " / " + std::to_string(key));
            EXPECT_EQ(Descramble(tools::Scramble(plain, key), key), plain);
        }
    }
}

// ---- The program's stored texts

struct StoredText {
    const char* name;
    const char* scrambled;
    uint16_t key;
    const char* plain;
};

std::vector<StoredText> AllStoredTexts() {
    const char* const plains[engine::kModelCount] = {
        "QX-201 Series", "QX-202 Series",  "QX-203 Series",  "QX-204 Series",
        "QX-205 Series", "QX-205X Series", "QX-206 Series",  "QX-207 Series",
        "QX-207M Series", "QX-H207 Series", "QX-20N Series",
    };
    std::vector<StoredText> all;
    for (size_t row = 0; row < engine::kModelCount; ++row) {
        const engine::PrinterModel& m = engine::ModelTable[row];
        all.push_back({m.pszDriverName, m.pszDisplayText, m.nDisplayKey, plains[row]});
    }
    all.push_back({"initial printer name", engine::InitialPrinterNameText,
                   engine::InitialPrinterNameKey, "QX Printer Ready"});
    return all;
}

TEST(StoredTexts, DescrambleToTheirPlainTexts) {
    for (const StoredText& t : AllStoredTexts()) {
        SCOPED_TRACE(t.name);
        EXPECT_EQ(Descramble(t.scrambled, t.key), t.plain);
        EXPECT_EQ(tools::Scramble(t.plain, t.key), t.scrambled)
            << "stored text is not what tools/scramble makes for this key";
    }
}

TEST(StoredTexts, ModelDisplayTextIsTheDriverName) {
    for (const engine::PrinterModel& m : engine::ModelTable) {
        EXPECT_EQ(Descramble(m.pszDisplayText, m.nDisplayKey), m.pszDriverName);
    }
}

TEST(StoredTexts, AreEvenRunsOf26To32CapitalLetters) {
    for (const StoredText& t : AllStoredTexts()) {
        SCOPED_TRACE(t.name);
        const std::string s = t.scrambled;
        EXPECT_GE(s.size(), 26u);
        EXPECT_LE(s.size(), 32u);
        EXPECT_EQ(s.size() % 2, 0u);
        EXPECT_EQ(s.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ"), std::string::npos) << s;
    }
}

TEST(StoredTexts, HaveDistinctKeysAndPrintablePlainTexts) {
    std::set<uint16_t> keys;
    std::set<std::string> plains;
    for (const StoredText& t : AllStoredTexts()) {
        SCOPED_TRACE(t.name);
        EXPECT_TRUE(keys.insert(t.key).second) << "key used twice: " << t.key;
        const std::string plain = Descramble(t.scrambled, t.key);
        EXPECT_TRUE(plains.insert(plain).second) << "text used twice: " << plain;
        for (char c : plain) EXPECT_TRUE(c >= 0x20 && c < 0x7F) << "unprintable in " << plain;
    }
}

}  // namespace
