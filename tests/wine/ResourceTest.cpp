// The compiled resources, read back from this executable as the program
// finds them in its own: every dialog template field by field and then
// created for real, the combo items block, the about item's string, the
// icon, the manifest and the version record.
// Wide-character API throughout: the resources' texts are UTF-16.
#ifndef UNICODE
#define UNICODE
#endif
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <iterator>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace {

const WORD kChinesePrc = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);  // 2052
const wchar_t kFontFace[] = L"宋体";
const WORD kFontPoints = 9;
// Initial-data blocks of dialog templates.
const WORD kInitDataType = 240;

HMODULE Self() { return GetModuleHandleW(nullptr); }

std::string Narrow(const std::wstring& w) {
  if (w.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string s(n, '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), &s[0], n, nullptr,
                      nullptr);
  return s;
}

// ---------------------------------------------------------------------------
// Raw resources

struct Bytes {
  const BYTE* data = nullptr;
  DWORD size = 0;
};

// The resource in the language the program's resources are in; empty if
// it is not there in that language.
Bytes FindChinese(LPCWSTR type, LPCWSTR name) {
  HRSRC info = FindResourceExW(Self(), type, name, kChinesePrc);
  if (!info) return {};
  HGLOBAL loaded = LoadResource(Self(), info);
  if (!loaded) return {};
  return {static_cast<const BYTE*>(LockResource(loaded)), SizeofResource(Self(), info)};
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD lang, LONG_PTR out) {
  reinterpret_cast<std::vector<WORD>*>(out)->push_back(lang);
  return TRUE;
}

std::vector<WORD> LanguagesOf(LPCWSTR type, LPCWSTR name) {
  std::vector<WORD> langs;
  EnumResourceLanguagesW(Self(), type, name, CollectLanguage, reinterpret_cast<LONG_PTR>(&langs));
  return langs;
}

// Little-endian reader that stops (ok() false) instead of running past
// the end of the resource.
class Reader {
 public:
  Reader(const BYTE* data, size_t size) : data_(data), size_(size) {}
  bool ok() const { return ok_; }
  size_t pos() const { return pos_; }
  size_t left() const { return size_ - pos_; }

  BYTE Byte() { return static_cast<BYTE>(Take(1)); }
  WORD Word() { return static_cast<WORD>(Take(2)); }
  DWORD Dword() { return Take(4); }
  short Short() { return static_cast<short>(Word()); }

  void Skip(size_t n) {
    if (n > left()) Fail();
    else pos_ += n;
  }
  void AlignDword() { Skip(((pos_ + 3) & ~size_t{3}) - pos_); }

  std::wstring Sz() {
    std::wstring s;
    for (WORD c; ok_ && (c = Word()) != 0;) s.push_back(static_cast<wchar_t>(c));
    return s;
  }
  std::string Chars(size_t n) {
    if (n > left()) {
      Fail();
      return {};
    }
    std::string s(reinterpret_cast<const char*>(data_ + pos_), n);
    pos_ += n;
    return s;
  }

 private:
  DWORD Take(size_t n) {
    if (n > left()) {
      Fail();
      return 0;
    }
    DWORD v = 0;
    for (size_t i = 0; i < n; ++i) v |= static_cast<DWORD>(data_[pos_ + i]) << (8 * i);
    pos_ += n;
    return v;
  }
  void Fail() {
    ok_ = false;
    pos_ = size_;
  }

  const BYTE* data_;
  size_t size_;
  size_t pos_ = 0;
  bool ok_ = true;
};

// ---------------------------------------------------------------------------
// Dialog templates (DLGTEMPLATE and DLGTEMPLATEEX)

// A name-or-ordinal field as text: "" for none, "#n" for an ordinal, where
// the predefined control classes get their names.
std::wstring NameOrOrdinal(Reader& r, bool isClass) {
  WORD first = r.Word();
  if (first == 0) return L"";
  if (first != 0xFFFF) {
    std::wstring s(1, static_cast<wchar_t>(first));
    return s + r.Sz();
  }
  WORD ordinal = r.Word();
  static const wchar_t* const kClasses[] = {L"Button",    L"Edit",    L"Static",
                                            L"ListBox",   L"ScrollBar", L"ComboBox"};
  if (isClass && ordinal >= 0x80 && ordinal <= 0x85) return kClasses[ordinal - 0x80];
  return L"#" + std::to_wstring(ordinal);
}

struct Control {
  std::wstring cls, text;
  int id = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  DWORD style = 0, exStyle = 0, helpId = 0;
  WORD extraBytes = 0;
};

struct Template {
  bool extended = false;
  DWORD style = 0, exStyle = 0, helpId = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  std::wstring menu, cls, caption, face;
  WORD points = 0, weight = 0;
  BYTE italic = 0, charset = 0;
  std::vector<Control> controls;
  bool ok = false;
  size_t unread = 0;  // bytes after the last control
};

Template ParseTemplate(const BYTE* data, size_t size) {
  Reader r(data, size);
  Template t;
  t.extended = size >= 4 && data[0] == 1 && data[1] == 0 && data[2] == 0xFF && data[3] == 0xFF;
  WORD count;
  if (t.extended) {
    r.Skip(4);  // version 1, signature 0xFFFF
    t.helpId = r.Dword();
    t.exStyle = r.Dword();
    t.style = r.Dword();
  } else {
    t.style = r.Dword();
    t.exStyle = r.Dword();
  }
  count = r.Word();
  t.x = r.Short();
  t.y = r.Short();
  t.cx = r.Short();
  t.cy = r.Short();
  t.menu = NameOrOrdinal(r, false);
  t.cls = NameOrOrdinal(r, false);
  t.caption = r.Sz();
  if (t.style & (DS_SETFONT | DS_SHELLFONT)) {
    t.points = r.Word();
    if (t.extended) {
      t.weight = r.Word();
      t.italic = r.Byte();
      t.charset = r.Byte();
    }
    t.face = r.Sz();
  }
  for (WORD i = 0; i < count && r.ok(); ++i) {
    Control c;
    r.AlignDword();
    if (t.extended) {
      c.helpId = r.Dword();
      c.exStyle = r.Dword();
      c.style = r.Dword();
    } else {
      c.style = r.Dword();
      c.exStyle = r.Dword();
    }
    c.x = r.Short();
    c.y = r.Short();
    c.cx = r.Short();
    c.cy = r.Short();
    c.id = t.extended ? static_cast<int>(r.Dword()) : r.Short();
    c.cls = NameOrOrdinal(r, true);
    c.text = NameOrOrdinal(r, false);
    c.extraBytes = r.Word();
    r.Skip(c.extraBytes);
    t.controls.push_back(c);
  }
  t.ok = r.ok() && t.controls.size() == count;
  t.unread = r.left();
  return t;
}

// ---------------------------------------------------------------------------
// What the pages expect of their templates

constexpr DWORD kShown = WS_CHILD | WS_VISIBLE;
constexpr DWORD kHidden = WS_CHILD;
constexpr DWORD kPageStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;

struct ExpectedControl {
  const wchar_t* cls;
  int id;
  const wchar_t* text;
  short x, y, cx, cy;
  DWORD style;  // in full
  DWORD exStyle;
};

struct ExpectedDialog {
  const char* name;
  int id;
  bool extended;
  DWORD style, exStyle;
  const wchar_t* caption;
  short x, y, cx, cy;
  std::vector<ExpectedControl> controls;
  std::vector<int> tabCycle;  // ids in Tab order, from the first (initial focus)
};

const DWORD kRadio = BS_AUTORADIOBUTTON;
const DWORD kButton = BS_PUSHBUTTON | WS_TABSTOP;
const DWORD kLabel = SS_LEFT | WS_GROUP;
const DWORD kCombo = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
const wchar_t kSuitable[] = L"This Driver is suitable for Windows x86 and x64 OS.";

const ExpectedDialog kDialogs[] = {
    {"OsSelect", 129, false, kPageStyle, 0, L"Select OS (x86/x64)", 0, 0, 251, 190,
     {
         {L"Button", -1, L"Select OS", 7, 19, 237, 77, kShown | BS_GROUPBOX | WS_GROUP, 0},
         {L"Button", 1020, L"Windows Vista", 15, 62, 68, 10, kShown | kRadio, 0},
         {L"Button", 1000, L"Windows 95", 13, 7, 54, 10, kHidden | kRadio, 0},
         {L"Button", 1001, L"Windows 98", 85, 7, 54, 10, kHidden | kRadio, 0},
         {L"Button", 1002, L"Windows NT4.0", 155, 7, 65, 10, kHidden | kRadio, 0},
         {L"Button", 1003, L"Windows 2000", 15, 39, 62, 10, kShown | kRadio, 0},
         {L"Button", 1004, L"Windows XP", 87, 37, 55, 10, kShown | kRadio, 0},
         {L"Button", 1011, L"Windows 2003", 157, 37, 64, 10, kShown | kRadio, 0},
         {L"msctls_trackbar32", 1007, L"Slider1", 7, 139, 237, 6,
          kHidden | TBS_BOTH | TBS_NOTICKS, 0},
         {L"Button", 1008, L"< &Back", 79, 157, 46, 14, kHidden | WS_DISABLED | kButton, 0},
         {L"Button", 1009, L"&Next >", 131, 157, 50, 14, kShown | kButton, 0},
         {L"Button", 1010, L"&Exit", 188, 157, 49, 14, kShown | kButton, 0},
         {L"Button", 1005, L"Windows 7", 87, 62, 53, 10, kShown | kRadio, 0},
         {L"Button", 1006, L"Windows 8", 157, 62, 52, 10, kShown | kRadio, 0},
         {L"Static", -1, kSuitable, 7, 175, 205, 8, kShown | kLabel, 0},
     },
     {1009, 1010}},
    {"PrinterSettings", 102, true, kPageStyle | WS_VISIBLE, WS_EX_APPWINDOW,
     L"Detail Setting (x86/x64)", 0, 0, 364, 239,
     {
         {L"ComboBox", 1011, L"", 77, 19, 145, 165, kShown | kCombo, 0},
         {L"Button", -1, L"Printer Setting", 7, 48, 350, 54, kShown | BS_GROUPBOX, 0},
         {L"Button", -1, L"打印机端口设置", 7, 108, 350, 94, kHidden | BS_GROUPBOX, 0},
         {L"Static", -1, L"Install Module", 20, 21, 56, 8, kShown | kLabel, 0},
         {L"Button", 1012, L"Set Default Printer", 20, 59, 115, 10,
          kShown | BS_AUTOCHECKBOX | WS_TABSTOP, 0},
         {L"Static", -1, L"Printer Name", 20, 79, 51, 8, kShown | kLabel, 0},
         {L"Edit", 1013, L"", 77, 77, 144, 15,
          kShown | ES_LEFT | ES_READONLY | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 0},
         {L"ComboBox", 1014, L"", 58, 123, 65, 86, kHidden | kCombo, 0},
         {L"ComboBox", 1015, L"", 58, 149, 65, 112, kHidden | kCombo, 0},
         {L"ComboBox", 1016, L"", 58, 172, 65, 60, kHidden | kCombo, 0},
         {L"ComboBox", 1017, L"", 286, 149, 65, 60, kHidden | kCombo, 0},
         {L"ComboBox", 1018, L"", 171, 172, 65, 68, kHidden | kCombo, 0},
         {L"ComboBox", 1019, L"", 171, 149, 65, 55, kHidden | kCombo, 0},
         {L"Static", -1, L"端口", 20, 127, 17, 8, kHidden | kLabel, 0},
         {L"Static", -1, L"波特率", 20, 148, 25, 8, kHidden | kLabel, 0},
         {L"Static", -1, L"字节长度", 20, 171, 33, 8, kHidden | kLabel, 0},
         {L"Static", -1, L"停止位", 135, 151, 25, 8, kHidden | kLabel, 0},
         {L"Static", -1, L"校验位", 135, 172, 25, 8, kHidden | kLabel, 0},
         {L"Static", -1, L"流控制", 240, 153, 25, 8, kHidden | kLabel, 0},
         {L"Button", 1008, L"< &Back", 161, 207, 55, 15, kShown | kButton, 0},
         {L"Button", 1009, L"&Next >", 225, 207, 54, 15, kShown | kButton, 0},
         {L"Button", 1010, L"&Exit", 290, 207, 57, 15, kShown | kButton, 0},
         {L"Static", -1, kSuitable, 7, 226, 205, 8, kShown | kLabel, 0},
     },
     {1011, 1012, 1013, 1008, 1009, 1010}},
    {"About", 100, false, kPageStyle, 0, L"关于 ORVA", 0, 0, 235, 55,
     {
         {L"Static", -1, L"#128", 11, 17, 20, 20, kShown | SS_ICON, 0},
         {L"Static", -1, L"ORVA 4.0 版", 40, 10, 119, 8, kShown | kLabel | SS_NOPREFIX, 0},
         {L"Static", -1, L"版权所有 (C) 2026", 40, 25, 119, 8, kShown | kLabel, 0},
         {L"Button", IDOK, L"确定", 178, 7, 50, 14, kShown | BS_DEFPUSHBUTTON | WS_TABSTOP, 0},
     },
     {IDOK}},
    {"SelectPort", 139, true, kPageStyle, 0, L"Select Port (x86/x64)", 0, 0, 320, 214,
     {
         {L"Static", -1, L"Specify Port ", 7, 7, 195, 8, kShown | kLabel, 0},
         {L"SysListView32", 1021, L"List1", 7, 47, 306, 93,
          kShown | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, 0},
         {L"Button", 1008, L"Create Port...", 159, 145, 66, 14, kShown | kButton, 0},
         {L"Button", 1009, L"Configure Port...", 235, 145, 72, 14, kShown | kButton, 0},
         {L"Button", 1010, L"< &Back", 142, 182, 50, 14, kShown | kButton, 0},
         {L"Button", 1022, L"&Install", 201, 181, 50, 14, kShown | kButton, 0},
         {L"Button", 1023, L"&Cancel", 260, 182, 50, 14, kShown | kButton, 0},
         {L"msctls_trackbar32", 1007, L"Slider1", 7, 149, 304, 6,
          kHidden | WS_TABSTOP | TBS_BOTH, WS_EX_CLIENTEDGE},
         {L"msctls_progress32", 1025, L"Progress1", 7, 164, 306, 11, kShown | WS_BORDER, 0},
         {L"Static", -1, L"A port is used to connect a printer to the computer.", 21, 16, 260, 8,
          kShown | kLabel, 0},
         {L"Static", -1,
          L"Specify the port that you are using.If you are connecting using TCP/IP or ", 21, 25,
          292, 8, kShown | kLabel, 0},
         {L"Static", -1, L"another port type not listed below,creat a new port.", 7, 34, 306, 8,
          kShown | kLabel, 0},
         {L"Static", -1, kSuitable, 7, 199, 205, 8, kShown | kLabel, 0},
     },
     {1021, 1008, 1009, 1010, 1022, 1023}},
    {"CreatePort", 138, false, kPageStyle, 0, L"Create Port", 0, 0, 254, 133,
     {
         {L"SysListView32", 1021, L"List1", 7, 14, 240, 80,
          kShown | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL, 0},
         {L"Button", 1008, L"New Port...", 121, 108, 50, 14, kShown | kButton, 0},
         {L"Button", 1009, L"Close", 179, 108, 53, 14, kShown | kButton, 0},
     },
     {1021, 1008, 1009}},
};

// Names the instance in gtest's messages instead of its bytes.
void PrintTo(const ExpectedDialog& d, std::ostream* os) { *os << d.name; }

// Window classes compare without case, as the system compares them
// (windres stores custom class names in capitals).
bool SameClass(const std::wstring& a, const std::wstring& b) {
  return _wcsicmp(a.c_str(), b.c_str()) == 0;
}

bool IsTextControl(const std::wstring& cls) {
  return SameClass(cls, L"Button") || SameClass(cls, L"Static");
}

std::string Hex(DWORD v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%08lX", static_cast<unsigned long>(v));
  return buf;
}

void RegisterCommonControls() {
  INITCOMMONCONTROLSEX icc = {sizeof icc,
                              ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
  ASSERT_TRUE(InitCommonControlsEx(&icc));
}

INT_PTR CALLBACK AcceptDialog(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

// A dialog created from the Chinese template; destroyed with the object.
class LiveDialog {
 public:
  explicit LiveDialog(int id) {
    Bytes t = FindChinese(RT_DIALOG, MAKEINTRESOURCEW(id));
    if (!t.data) return;
    SetLastError(0xdeadbeef);
    hwnd_ = CreateDialogIndirectParamW(Self(), reinterpret_cast<LPCDLGTEMPLATEW>(t.data),
                                       nullptr, AcceptDialog, 0);
    error_ = GetLastError();
  }
  ~LiveDialog() {
    if (hwnd_) DestroyWindow(hwnd_);
  }
  LiveDialog(const LiveDialog&) = delete;
  LiveDialog& operator=(const LiveDialog&) = delete;
  HWND hwnd() const { return hwnd_; }
  DWORD error() const { return error_; }

 private:
  HWND hwnd_ = nullptr;
  DWORD error_ = 0;
};

std::wstring WindowText(HWND w) {
  wchar_t buf[256] = L"";
  GetWindowTextW(w, buf, 256);
  return buf;
}

std::wstring ClassOf(HWND w) {
  wchar_t buf[64] = L"";
  GetClassNameW(w, buf, 64);
  return buf;
}

// ---------------------------------------------------------------------------
// Templates, one test instance per dialog

class DialogTemplate : public ::testing::TestWithParam<ExpectedDialog> {
 protected:
  static void SetUpTestSuite() { RegisterCommonControls(); }
  Template Parsed() const {
    Bytes raw = FindChinese(RT_DIALOG, MAKEINTRESOURCEW(GetParam().id));
    if (!raw.data) return {};
    return ParseTemplate(raw.data, raw.size);
  }
};

TEST_P(DialogTemplate, ExistsOnlyInChinesePrc) {
  EXPECT_EQ(LanguagesOf(RT_DIALOG, MAKEINTRESOURCEW(GetParam().id)), std::vector<WORD>{kChinesePrc});
}

TEST_P(DialogTemplate, HeaderMatches) {
  const ExpectedDialog& e = GetParam();
  Template t = Parsed();
  ASSERT_TRUE(t.ok) << "template " << e.id << " missing or truncated";
  EXPECT_EQ(t.extended, e.extended);
  EXPECT_EQ(Hex(t.style), Hex(e.style));
  EXPECT_EQ(Hex(t.exStyle), Hex(e.exStyle));
  EXPECT_EQ(t.helpId, 0u);
  EXPECT_EQ(Narrow(t.caption), Narrow(e.caption));
  EXPECT_EQ(t.x, e.x);
  EXPECT_EQ(t.y, e.y);
  EXPECT_EQ(t.cx, e.cx);
  EXPECT_EQ(t.cy, e.cy);
  EXPECT_EQ(t.menu, L"") << "no menu";
  EXPECT_EQ(t.cls, L"") << "the system's dialog class";
  EXPECT_EQ(t.points, kFontPoints);
  EXPECT_EQ(Narrow(t.face), Narrow(kFontFace));
  if (e.extended) {
    EXPECT_EQ(t.weight, 0);
    EXPECT_EQ(t.italic, 0);
    EXPECT_EQ(t.charset, DEFAULT_CHARSET);
  }
  EXPECT_LT(t.unread, 4u) << "bytes beyond the last control";
}

TEST_P(DialogTemplate, ControlsMatchInOrder) {
  const ExpectedDialog& e = GetParam();
  Template t = Parsed();
  ASSERT_TRUE(t.ok) << "template " << e.id << " missing or truncated";
  ASSERT_EQ(t.controls.size(), e.controls.size());
  for (size_t i = 0; i < e.controls.size(); ++i) {
    const ExpectedControl& want = e.controls[i];
    const Control& got = t.controls[i];
    SCOPED_TRACE("control #" + std::to_string(i) + " \"" + Narrow(want.text) + "\" id " +
                 std::to_string(want.id));
    EXPECT_TRUE(SameClass(got.cls, want.cls)) << Narrow(got.cls);
    EXPECT_EQ(got.id, want.id);
    EXPECT_EQ(Narrow(got.text), Narrow(want.text));
    EXPECT_EQ(got.x, want.x);
    EXPECT_EQ(got.y, want.y);
    EXPECT_EQ(got.cx, want.cx);
    EXPECT_EQ(got.cy, want.cy);
    EXPECT_EQ(Hex(got.style), Hex(want.style));
    EXPECT_EQ(Hex(got.exStyle), Hex(want.exStyle));
    EXPECT_EQ(got.helpId, 0u);
    EXPECT_EQ(got.extraBytes, 0) << "no creation data";
  }
}

TEST_P(DialogTemplate, ControlIdsAreUnique) {
  const ExpectedDialog& e = GetParam();
  Template t = Parsed();
  ASSERT_TRUE(t.ok);
  for (size_t i = 0; i < t.controls.size(); ++i)
    for (size_t j = i + 1; j < t.controls.size(); ++j)
      if (t.controls[i].id != -1) {
        EXPECT_NE(t.controls[i].id, t.controls[j].id) << "template " << e.id;
      }
}

TEST_P(DialogTemplate, CreatesWithEveryControl) {
  const ExpectedDialog& e = GetParam();
  LiveDialog dlg(e.id);
  ASSERT_NE(dlg.hwnd(), nullptr) << "CreateDialogIndirectParam error " << dlg.error();
  ShowWindow(dlg.hwnd(), SW_SHOWNOACTIVATE);

  EXPECT_EQ(Narrow(WindowText(dlg.hwnd())), Narrow(e.caption));
  EXPECT_EQ(Hex(GetWindowLongW(dlg.hwnd(), GWL_EXSTYLE) & WS_EX_APPWINDOW),
            Hex(e.exStyle & WS_EX_APPWINDOW));
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(dlg.hwnd(), WM_GETFONT, 0, 0));
  ASSERT_NE(font, nullptr) << "the template's font was not made";
  LOGFONTW lf = {};
  ASSERT_TRUE(GetObjectW(font, sizeof lf, &lf));
  EXPECT_EQ(Narrow(lf.lfFaceName), Narrow(kFontFace));

  // Children come in template order.
  HWND child = GetWindow(dlg.hwnd(), GW_CHILD);
  for (size_t i = 0; i < e.controls.size(); ++i, child = GetWindow(child, GW_HWNDNEXT)) {
    const ExpectedControl& want = e.controls[i];
    SCOPED_TRACE("control #" + std::to_string(i) + " \"" + Narrow(want.text) + "\" id " +
                 std::to_string(want.id));
    ASSERT_NE(child, nullptr) << "fewer windows than controls";
    EXPECT_TRUE(SameClass(ClassOf(child), want.cls)) << Narrow(ClassOf(child));
    EXPECT_EQ(LOWORD(GetDlgCtrlID(child)), LOWORD(want.id));
    if (want.id != -1) {
      EXPECT_EQ(GetDlgItem(dlg.hwnd(), want.id), child);
    }
    EXPECT_EQ(IsWindowVisible(child) != FALSE, (want.style & WS_VISIBLE) != 0);
    EXPECT_EQ(IsWindowEnabled(child) != FALSE, (want.style & WS_DISABLED) == 0);
    if (SameClass(want.cls, L"Static") && (want.style & SS_TYPEMASK) == SS_ICON) {
      EXPECT_NE(SendMessageW(child, STM_GETICON, 0, 0), 0) << "icon not loaded";
    } else if (IsTextControl(want.cls)) {
      EXPECT_EQ(Narrow(WindowText(child)), Narrow(want.text));
    }
  }
  EXPECT_EQ(child, nullptr) << "more windows than controls";
}

// Tab order, visibility and tab stops together: the cycle the user walks.
TEST_P(DialogTemplate, TabCycleStartsAtInitialFocus) {
  const ExpectedDialog& e = GetParam();
  LiveDialog dlg(e.id);
  ASSERT_NE(dlg.hwnd(), nullptr);
  // The control the dialog manager focuses when WM_INITDIALOG returns TRUE.
  HWND first = GetNextDlgTabItem(dlg.hwnd(), nullptr, FALSE);
  ASSERT_NE(first, nullptr);
  std::vector<int> cycle;
  HWND w = first;
  do {
    cycle.push_back(GetDlgCtrlID(w));
    w = GetNextDlgTabItem(dlg.hwnd(), w, FALSE);
  } while (w && w != first && cycle.size() <= e.controls.size());
  EXPECT_EQ(cycle, e.tabCycle);
}

INSTANTIATE_TEST_SUITE_P(Resources, DialogTemplate, ::testing::ValuesIn(kDialogs),
                         [](const ::testing::TestParamInfo<ExpectedDialog>& info) {
                           return std::string(info.param.name);
                         });

// The nine radio buttons form one group with the group box: ticking a
// visible one unticks the others.
TEST(OsSelectTemplate, VisibleRadioButtonsTickOneAtATime) {
  RegisterCommonControls();
  LiveDialog dlg(129);
  ASSERT_NE(dlg.hwnd(), nullptr);
  ShowWindow(dlg.hwnd(), SW_SHOWNOACTIVATE);
  const int visible[] = {1003, 1004, 1011, 1020, 1005, 1006};
  for (int clicked : visible) {
    SendDlgItemMessageW(dlg.hwnd(), clicked, BM_CLICK, 0, 0);
    for (int other : visible)
      EXPECT_EQ(IsDlgButtonChecked(dlg.hwnd(), other),
                static_cast<UINT>(other == clicked ? BST_CHECKED : BST_UNCHECKED))
          << "after clicking " << clicked << ", button " << other;
  }
}

// ---------------------------------------------------------------------------
// Combo items of the printer settings page (type 240, id 102)

struct InitRecord {
  int id;
  WORD message;
  std::string text;     // up to the first NUL
  bool nulTerminated;   // the byte count covers exactly the text and one NUL
};

struct InitBlock {
  std::vector<InitRecord> records;
  bool ended = false;   // a WORD 0 closed it
  size_t trailing = 0;  // bytes after that
};

InitBlock DecodeInitData(const Bytes& raw) {
  InitBlock block;
  Reader r(raw.data, raw.size);
  while (r.ok()) {
    WORD id = r.Word();
    if (!r.ok()) break;
    if (id == 0) {
      block.ended = true;
      break;
    }
    InitRecord rec{id, r.Word(), "", false};
    DWORD length = r.Dword();
    std::string bytes = r.Chars(length);
    if (!r.ok()) break;
    rec.text = bytes.substr(0, bytes.find('\0'));
    rec.nulTerminated = length > 0 && rec.text.size() == length - 1;
    block.records.push_back(rec);
  }
  block.trailing = r.left();
  return block;
}

const std::pair<int, std::vector<std::string>> kComboItems[] = {
    {1014, {"LPT1", "LPT2", "LPT3", "COM1", "COM2", "COM3", "COM4"}},
    {1015, {"300", "1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200"}},
    {1016, {"5", "6", "7", "8"}},
    {1017, {"None", "XonXoff", "Hardware"}},
    {1018, {"Even", "Mark", "None", "Odd", "Space"}},
    {1019, {"1", "1.5", "2"}},
};

Bytes SettingsInitData() {
  return FindChinese(MAKEINTRESOURCEW(kInitDataType), MAKEINTRESOURCEW(102));
}

TEST(SettingsInitData, ExistsOnlyInChinesePrc) {
  EXPECT_EQ(LanguagesOf(MAKEINTRESOURCEW(kInitDataType), MAKEINTRESOURCEW(102)),
            std::vector<WORD>{kChinesePrc});
}

TEST(SettingsInitData, AddsTheItemsOfEachComboInOrder) {
  Bytes raw = SettingsInitData();
  ASSERT_NE(raw.data, nullptr);
  InitBlock block = DecodeInitData(raw);
  EXPECT_TRUE(block.ended) << "no closing WORD 0";
  EXPECT_EQ(block.trailing, 0u);

  std::vector<std::pair<int, std::string>> want, got;
  for (const auto& combo : kComboItems)
    for (const std::string& item : combo.second) want.emplace_back(combo.first, item);
  for (const InitRecord& rec : block.records) {
    got.emplace_back(rec.id, rec.text);
    EXPECT_EQ(rec.message, 0x0403) << rec.text;
    EXPECT_TRUE(rec.nulTerminated) << rec.id << " \"" << rec.text << "\"";
  }
  EXPECT_EQ(got, want);
}

TEST(SettingsInitData, NamesOnlyComboBoxesOfItsTemplate) {
  Bytes raw = FindChinese(RT_DIALOG, MAKEINTRESOURCEW(102));
  ASSERT_NE(raw.data, nullptr);
  Template t = ParseTemplate(raw.data, raw.size);
  ASSERT_TRUE(t.ok);
  for (const InitRecord& rec : DecodeInitData(SettingsInitData()).records) {
    bool combo = false;
    for (const Control& c : t.controls)
      combo = combo || (c.id == rec.id && SameClass(c.cls, L"ComboBox"));
    EXPECT_TRUE(combo) << "record for control " << rec.id;
  }
}

// Applied to the live page as its initialisation will: the lists keep the
// order the block gives (a sorted combo would put "115200" before "1200").
TEST(SettingsInitData, FilledCombosKeepTheBlockOrder) {
  RegisterCommonControls();
  LiveDialog dlg(102);
  ASSERT_NE(dlg.hwnd(), nullptr);
  for (const InitRecord& rec : DecodeInitData(SettingsInitData()).records)
    SendDlgItemMessageA(dlg.hwnd(), rec.id, CB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(rec.text.c_str()));
  for (const auto& combo : kComboItems) {
    std::vector<std::string> items;
    LRESULT n = SendDlgItemMessageA(dlg.hwnd(), combo.first, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
      char buf[32] = "";
      SendDlgItemMessageA(dlg.hwnd(), combo.first, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buf));
      items.push_back(buf);
    }
    EXPECT_EQ(items, combo.second) << "combo " << combo.first;
  }
}

// ---------------------------------------------------------------------------
// String 101

const wchar_t kAboutItem[] = L"关于 ORVA(&A)...";

TEST(AboutItemString, LoadsAsTheMenuText) {
  wchar_t buf[64] = L"";
  SetLastError(0xdeadbeef);
  int n = LoadStringW(Self(), 101, buf, 64);
  EXPECT_EQ(n, static_cast<int>(std::wcslen(kAboutItem))) << "error " << GetLastError();
  EXPECT_EQ(Narrow(buf), Narrow(kAboutItem));
}

// The string block of ids 96..111 holds it, in Chinese (PRC) only.
TEST(AboutItemString, IsInTheChineseStringBlock) {
  const WORD block = 101 / 16 + 1;
  EXPECT_EQ(LanguagesOf(RT_STRING, MAKEINTRESOURCEW(block)), std::vector<WORD>{kChinesePrc});
  Bytes raw = FindChinese(RT_STRING, MAKEINTRESOURCEW(block));
  ASSERT_NE(raw.data, nullptr);
  Reader r(raw.data, raw.size);
  std::wstring text;
  for (int i = 0; i < 16 && r.ok(); ++i) {
    WORD len = r.Word();
    std::wstring s;
    for (WORD k = 0; k < len && r.ok(); ++k) s.push_back(static_cast<wchar_t>(r.Word()));
    if (i == 101 % 16) text = s;
  }
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(Narrow(text), Narrow(kAboutItem));
}

// ---------------------------------------------------------------------------
// Icon 128

#pragma pack(push, 2)
struct GroupIconEntry {
  BYTE width, height, colours, reserved;
  WORD planes, bitCount;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

struct IconImage {
  int size;
};

const IconImage kIconImages[] = {{32}, {16}};

std::vector<GroupIconEntry> GroupEntries() {
  Bytes raw = FindChinese(RT_GROUP_ICON, MAKEINTRESOURCEW(128));
  std::vector<GroupIconEntry> entries;
  if (!raw.data || raw.size < 6) return entries;
  Reader r(raw.data, raw.size);
  WORD reserved = r.Word(), type = r.Word(), count = r.Word();
  if (reserved != 0 || type != 1 || raw.size != 6 + count * sizeof(GroupIconEntry)) return entries;
  for (WORD i = 0; i < count; ++i) {
    GroupIconEntry e;
    std::memcpy(&e, raw.data + 6 + i * sizeof e, sizeof e);
    entries.push_back(e);
  }
  return entries;
}

TEST(PrinterIcon, GroupHasA32AndA16PixelSixteenColourImage) {
  std::vector<GroupIconEntry> entries = GroupEntries();
  ASSERT_EQ(entries.size(), std::size(kIconImages));
  for (size_t i = 0; i < entries.size(); ++i) {
    SCOPED_TRACE("image " + std::to_string(i));
    EXPECT_EQ(entries[i].width, kIconImages[i].size);
    EXPECT_EQ(entries[i].height, kIconImages[i].size);
    EXPECT_EQ(entries[i].colours, 16);
    EXPECT_EQ(entries[i].planes, 1);
    EXPECT_EQ(entries[i].bitCount, 4);
  }
}

// Each image: a 4-bit bitmap of its size with a mask that leaves some
// pixels transparent and covers others (neither empty nor a square).
TEST(PrinterIcon, ImagesAreFourBitBitmapsWithAShape) {
  std::vector<GroupIconEntry> entries = GroupEntries();
  ASSERT_EQ(entries.size(), std::size(kIconImages));
  for (const GroupIconEntry& e : entries) {
    SCOPED_TRACE("icon " + std::to_string(e.id));
    Bytes raw = FindChinese(RT_ICON, MAKEINTRESOURCEW(e.id));
    ASSERT_NE(raw.data, nullptr);
    EXPECT_EQ(raw.size, e.bytes);
    BITMAPINFOHEADER h;
    ASSERT_GE(raw.size, sizeof h);
    std::memcpy(&h, raw.data, sizeof h);
    const int n = e.width;
    EXPECT_EQ(h.biWidth, n);
    EXPECT_EQ(h.biHeight, 2 * n) << "colour and mask";
    EXPECT_EQ(h.biBitCount, 4);
    EXPECT_EQ(h.biCompression, static_cast<DWORD>(BI_RGB));
    const size_t colourStride = (n * 4 + 31) / 32 * 4, maskStride = (n + 31) / 32 * 4;
    const size_t maskOffset = sizeof h + 16 * sizeof(RGBQUAD) + colourStride * n;
    ASSERT_EQ(raw.size, maskOffset + maskStride * n);
    int transparent = 0;
    for (int y = 0; y < n; ++y)
      for (int x = 0; x < n; ++x)
        transparent += (raw.data[maskOffset + y * maskStride + x / 8] >> (7 - x % 8)) & 1;
    EXPECT_GT(transparent, 0);
    EXPECT_LT(transparent, n * n / 2) << "the glyph should fill most of the image";
  }
}

TEST(PrinterIcon, SystemPicksEachSizeAndLoadsIt) {
  Bytes dir = FindChinese(RT_GROUP_ICON, MAKEINTRESOURCEW(128));
  ASSERT_NE(dir.data, nullptr);
  std::vector<GroupIconEntry> entries = GroupEntries();
  for (const GroupIconEntry& e : entries) {
    SCOPED_TRACE("size " + std::to_string(e.width));
    int id = LookupIconIdFromDirectoryEx(const_cast<BYTE*>(dir.data), TRUE, e.width, e.height,
                                         LR_DEFAULTCOLOR);
    EXPECT_EQ(id, e.id);
    HICON icon = static_cast<HICON>(
        LoadImageW(Self(), MAKEINTRESOURCEW(128), IMAGE_ICON, e.width, e.height, 0));
    ASSERT_NE(icon, nullptr);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP bm = {};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, e.width);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
  }
}

// ---------------------------------------------------------------------------
// Manifest

std::string ManifestText() {
  Bytes raw = FindChinese(RT_MANIFEST, MAKEINTRESOURCEW(1));
  return raw.data ? std::string(reinterpret_cast<const char*>(raw.data), raw.size) : "";
}

TEST(Manifest, RequiresAdministratorWithoutUiAccess) {
  std::string m = ManifestText();
  ASSERT_FALSE(m.empty());
  EXPECT_NE(m.find("level=\"requireAdministrator\""), std::string::npos) << m;
  EXPECT_NE(m.find("uiAccess=\"false\""), std::string::npos) << m;
}

// Supported-OS entries would make Windows 8.1 and 10 report their own
// versions, which the operating-system page does not know; version 6 of the
// common controls would change the look the templates were made for.
TEST(Manifest, DeclaresNoSupportedOsAndNoCommonControlsSix) {
  std::string m = ManifestText();
  ASSERT_FALSE(m.empty());
  EXPECT_EQ(m.find("supportedOS"), std::string::npos) << m;
  EXPECT_EQ(m.find("compatibility"), std::string::npos) << m;
  EXPECT_EQ(m.find("Microsoft.Windows.Common-Controls"), std::string::npos) << m;
}

// ---------------------------------------------------------------------------
// Version record

class VersionInfo {
 public:
  VersionInfo() {
    wchar_t path[MAX_PATH];
    if (!GetModuleFileNameW(nullptr, path, MAX_PATH)) return;
    DWORD ignored = 0, size = GetFileVersionInfoSizeW(path, &ignored);
    if (!size) return;
    data_.resize(size);
    if (!GetFileVersionInfoW(path, 0, size, data_.data())) data_.clear();
  }
  bool ok() const { return !data_.empty(); }
  template <typename T>
  const T* Query(const wchar_t* path, UINT* length) {
    void* p = nullptr;
    *length = 0;
    if (!VerQueryValueW(data_.data(), path, &p, length)) return nullptr;
    return static_cast<const T*>(p);
  }

 private:
  std::vector<BYTE> data_;
};

TEST(Version, IsChineseOnly) {
  EXPECT_EQ(LanguagesOf(RT_VERSION, MAKEINTRESOURCEW(1)), std::vector<WORD>{kChinesePrc});
}

TEST(Version, FixedPartIsFourForAnApplication) {
  VersionInfo v;
  ASSERT_TRUE(v.ok());
  UINT len;
  const VS_FIXEDFILEINFO* f = v.Query<VS_FIXEDFILEINFO>(L"\\", &len);
  ASSERT_NE(f, nullptr);
  ASSERT_GE(len, sizeof *f);
  EXPECT_EQ(Hex(f->dwSignature), Hex(VS_FFI_SIGNATURE));
  EXPECT_EQ(Hex(f->dwFileVersionMS), Hex(MAKELONG(0, 4)));
  EXPECT_EQ(Hex(f->dwFileVersionLS), Hex(0));
  EXPECT_EQ(Hex(f->dwProductVersionMS), Hex(MAKELONG(0, 4)));
  EXPECT_EQ(Hex(f->dwProductVersionLS), Hex(0));
  EXPECT_EQ(f->dwFileType, static_cast<DWORD>(VFT_APP));
  EXPECT_EQ(f->dwFileFlags & f->dwFileFlagsMask, 0u) << "no debug, pre-release or patched flag";
}

TEST(Version, TranslationIsChinesePrcUnicode) {
  VersionInfo v;
  ASSERT_TRUE(v.ok());
  UINT len;
  const WORD* t = v.Query<WORD>(L"\\VarFileInfo\\Translation", &len);
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(len, 4u) << "exactly one language";
  EXPECT_EQ(t[0], kChinesePrc);
  EXPECT_EQ(t[1], 1200);
}

TEST(Version, StringsDescribeTheProgram) {
  const std::pair<const wchar_t*, const wchar_t*> kStrings[] = {
      {L"CompanyName", L""},
      {L"FileDescription", L"ORVA printer driver setup"},
      {L"FileVersion", L"4.0.0.0"},
      {L"InternalName", L"OrvaSetup"},
      {L"OriginalFilename", L"OrvaSetup.exe"},
      {L"ProductName", L"ORVA"},
      {L"ProductVersion", L"4.0.0.0"},
  };
  VersionInfo v;
  ASSERT_TRUE(v.ok());
  for (const auto& s : kStrings) {
    std::wstring path = std::wstring(L"\\StringFileInfo\\080404b0\\") + s.first;
    UINT len;
    const wchar_t* value = v.Query<wchar_t>(path.c_str(), &len);
    ASSERT_NE(value, nullptr) << Narrow(s.first) << " missing";
    EXPECT_EQ(Narrow(std::wstring(value, wcsnlen(value, len))), Narrow(s.second))
        << Narrow(s.first);
  }
}

// ---------------------------------------------------------------------------
// All of them

BOOL CALLBACK CollectName(HMODULE, LPCWSTR type, LPWSTR name, LONG_PTR out) {
  auto* found = reinterpret_cast<std::vector<std::pair<std::wstring, std::wstring>>*>(out);
  auto text = [](LPCWSTR n) {
    return IS_INTRESOURCE(n) ? L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(n))
                             : std::wstring(n);
  };
  for (WORD lang : LanguagesOf(type, name))
    if (lang != kChinesePrc)
      found->emplace_back(text(type) + L"/" + text(name), std::to_wstring(lang));
  return TRUE;
}

BOOL CALLBACK CollectType(HMODULE module, LPWSTR type, LONG_PTR out) {
  EnumResourceNamesW(module, type, CollectName, out);
  return TRUE;
}

TEST(AllResources, AreChinesePrc) {
  std::vector<std::pair<std::wstring, std::wstring>> others;
  EnumResourceTypesW(Self(), CollectType, reinterpret_cast<LONG_PTR>(&others));
  for (const auto& o : others)
    ADD_FAILURE() << Narrow(o.first) << " in language " << Narrow(o.second);
}

}  // namespace
