// tdriver: the end-to-end tests' hands and eyes inside Wine.
//
//   tdriver wait CLASS [TITLE] [TIMEOUT_MS]   wait for a window (top-level or child); print it
//   tdriver find CLASS [TITLE]                 the same without waiting (status 1 if none)
//   tdriver count CLASS                        how many windows have that class
//   tdriver info HWND                          class, rectangle, styles, owner, parent, state
//   tdriver post HWND MSG WPARAM LPARAM        PostMessage; numbers decimal or 0x-hex
//   tdriver send HWND MSG WPARAM LPARAM        SendMessage; prints the result
//   tdriver child HWND ID                      the control of that id in the dialog HWND
//   tdriver caption HWND                       the window's text (UTF-8)
//   tdriver msgbox [TIMEOUT_MS]                wait for a message box, print "title: ..." and
//                                              "text: ..." (UTF-8), press its OK button
//   tdriver no-msgbox MS                       status 1 if a message box shows within MS
//   tdriver target LOGFILE [native|alpha]      a focused window that logs every key and
//                                              character message it receives, one per line;
//                                              with a mode, its input context is set to
//                                              Hangul (native) or English (alpha) before it
//                                              takes the focus, and the status read back is
//                                              logged ("conversion 0x...", or "no context")
//   tdriver target LOGFILE edit                the same window holding an edit control
//                                              that has the focus and logs the same way
//   tdriver text HWND                          the text of the edit control in HWND (UTF-8)
//   tdriver focus HWND                         make HWND the foreground window
//   tdriver foreground                         print the foreground window
//   tdriver focused                            print the window with the keyboard focus
//   tdriver place HWND LEFT TOP WIDTH HEIGHT   move and size HWND without activating it
//
// Window handles are printed and read as decimal numbers. Status 0 means done, 1 means
// not found or timed out, 2 means wrong arguments.
#include <windows.h>
#include <imm.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr,
                      nullptr);
  return out;
}

std::wstring ClassOf(HWND w) {
  wchar_t name[256] = {};
  GetClassNameW(w, name, 256);
  return name;
}

std::wstring TitleOf(HWND w) {
  wchar_t text[1024] = {};
  GetWindowTextW(w, text, 1024);
  return text;
}

long long Number(const char* text) { return std::strtoll(text, nullptr, 0); }
HWND Handle(const char* text) { return reinterpret_cast<HWND>(static_cast<intptr_t>(Number(text))); }

struct Search {
  std::wstring className;
  const std::wstring* title = nullptr;
  std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND w, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  if (ClassOf(w) == s->className && (s->title == nullptr || TitleOf(w) == *s->title)) s->found.push_back(w);
  return TRUE;
}

BOOL CALLBACK CollectWithChildren(HWND w, LPARAM lp) {
  Collect(w, lp);
  EnumChildWindows(w, Collect, lp);
  return TRUE;
}

std::vector<HWND> FindAll(const std::wstring& className, const std::wstring* title) {
  Search s{className, title, {}};
  EnumWindows(CollectWithChildren, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

void PrintHandle(HWND w) { std::printf("%lld\n", static_cast<long long>(reinterpret_cast<intptr_t>(w))); }

HWND WaitFor(const std::wstring& className, const std::wstring* title, DWORD timeout, bool visibleOnly) {
  const DWORD start = GetTickCount();
  for (;;) {
    for (HWND w : FindAll(className, title)) {
      if (!visibleOnly || IsWindowVisible(w)) return w;
    }
    if (GetTickCount() - start >= timeout) return nullptr;
    Sleep(50);
  }
}

// Argument `index` as typed: the narrow argv has been through the ANSI code page, which
// loses text outside it.
std::wstring Arg(int index) {
  int n = 0;
  LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &n);
  std::wstring out = (args != nullptr && index < n) ? args[index] : L"";
  if (args != nullptr) LocalFree(args);
  return out;
}

int Wait(int argc, char** argv, bool wait) {
  if (argc < 3) return 2;
  const std::wstring className = Arg(2);
  std::wstring title;
  const bool withTitle = argc > 3 && argv[3][0] != '\0';
  if (withTitle) title = Arg(3);
  const DWORD timeout = wait ? (argc > 4 ? static_cast<DWORD>(Number(argv[4])) : 10000) : 0;
  HWND w = WaitFor(className, withTitle ? &title : nullptr, timeout, false);
  if (w == nullptr) return 1;
  PrintHandle(w);
  return 0;
}

int Info(HWND w) {
  if (!IsWindow(w)) return 1;
  RECT r{};
  GetWindowRect(w, &r);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  const LONG style = GetWindowLongW(w, GWL_STYLE);
  const LONG exStyle = GetWindowLongW(w, GWL_EXSTYLE);
  std::printf("class=%s\ntitle=%s\nleft=%ld\ntop=%ld\nwidth=%ld\nheight=%ld\nstyle=0x%08lx\n"
              "exstyle=0x%08lx\nvisible=%d\ntopmost=%d\nparent=%lld\nowner=%lld\npid=%lu\n",
              Utf8(ClassOf(w)).c_str(), Utf8(TitleOf(w)).c_str(), r.left, r.top, r.right - r.left,
              r.bottom - r.top, static_cast<unsigned long>(style), static_cast<unsigned long>(exStyle),
              IsWindowVisible(w) ? 1 : 0, (exStyle & WS_EX_TOPMOST) ? 1 : 0,
              static_cast<long long>(reinterpret_cast<intptr_t>(GetAncestor(w, GA_PARENT))),
              static_cast<long long>(reinterpret_cast<intptr_t>(GetWindow(w, GW_OWNER))),
              static_cast<unsigned long>(pid));
  return 0;
}

BOOL CALLBACK FindStatic(HWND w, LPARAM lp) {
  if (GetDlgCtrlID(w) == 0xFFFF) {
    *reinterpret_cast<HWND*>(lp) = w;
    return FALSE;
  }
  return TRUE;
}

int MessageBoxVerb(DWORD timeout) {
  HWND box = WaitFor(L"#32770", nullptr, timeout, true);
  if (box == nullptr) return 1;
  Sleep(200);  // let it finish laying out its text
  HWND text = nullptr;
  EnumChildWindows(box, FindStatic, reinterpret_cast<LPARAM>(&text));
  std::printf("title: %s\ntext: %s\n", Utf8(TitleOf(box)).c_str(),
              text != nullptr ? Utf8(TitleOf(text)).c_str() : "");
  std::fflush(stdout);
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  return 0;
}

std::FILE* targetLog = nullptr;
HWND targetEdit = nullptr;
WNDPROC editProc = nullptr;

// Logs a key or character message; true when it is one.
bool LogKeyMessage(UINT m, WPARAM wp, LPARAM lp) {
  const char* name = nullptr;
  switch (m) {
    case WM_KEYDOWN: name = "keydown"; break;
    case WM_KEYUP: name = "keyup"; break;
    case WM_SYSKEYDOWN: name = "syskeydown"; break;
    case WM_SYSKEYUP: name = "syskeyup"; break;
    case WM_CHAR: name = "char"; break;
    case WM_SYSCHAR: name = "syschar"; break;
    case WM_IME_CHAR: name = "imechar"; break;
    default: break;
  }
  if (name == nullptr || targetLog == nullptr) return false;
  std::fprintf(targetLog, "%s %llu 0x%08llx\n", name, static_cast<unsigned long long>(wp),
               static_cast<unsigned long long>(static_cast<uint32_t>(lp)));
  std::fflush(targetLog);
  return true;
}

LRESULT CALLBACK TargetProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  if (m == WM_SETFOCUS && targetEdit != nullptr) {
    SetFocus(targetEdit);
    return 0;
  }
  if (LogKeyMessage(m, wp, lp) && (m == WM_SYSKEYDOWN || m == WM_SYSKEYUP || m == WM_SYSCHAR)) return 0;  // no menu loop
  return DefWindowProcW(w, m, wp, lp);
}

LRESULT CALLBACK EditProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (LogKeyMessage(m, wp, lp) && (m == WM_SYSKEYDOWN || m == WM_SYSKEYUP || m == WM_SYSCHAR)) return 0;
  return CallWindowProcW(editProc, w, m, wp, lp);
}

int Target(const char* logPath, const char* mode) {
  targetLog = std::fopen(logPath, "w");
  if (targetLog == nullptr) return 2;
  WNDCLASSW wc{};
  wc.lpfnWndProc = TargetProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"TDriverTarget";
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  RegisterClassW(&wc);
  HWND w = CreateWindowExW(0, L"TDriverTarget", L"tdriver target", WS_OVERLAPPEDWINDOW, 600, 300, 300, 200,
                           nullptr, nullptr, wc.hInstance, nullptr);
  if (mode != nullptr && std::strcmp(mode, "edit") == 0) {
    targetEdit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL, 0, 0,
                                 280, 160, w, nullptr, wc.hInstance, nullptr);
    editProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(targetEdit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditProc)));
  } else if (mode != nullptr) {
    HIMC context = ImmGetContext(w);
    if (context == nullptr) {
      std::fprintf(targetLog, "no context\n");
    } else {
      DWORD conversion = 0, sentence = 0;
      ImmGetConversionStatus(context, &conversion, &sentence);
      conversion = std::strcmp(mode, "native") == 0 ? (conversion | IME_CMODE_NATIVE) : (conversion & ~IME_CMODE_NATIVE);
      ImmSetConversionStatus(context, conversion, sentence);
      ImmGetConversionStatus(context, &conversion, &sentence);
      std::fprintf(targetLog, "conversion 0x%lx\n", static_cast<unsigned long>(conversion));
      ImmReleaseContext(w, context);
    }
    std::fflush(targetLog);
  }
  ShowWindow(w, SW_SHOW);
  SetForegroundWindow(w);
  SetFocus(targetEdit != nullptr ? targetEdit : w);
  PrintHandle(w);
  std::fflush(stdout);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  std::fclose(targetLog);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const std::string verb = argv[1];
  if (verb == "wait") return Wait(argc, argv, true);
  if (verb == "find") return Wait(argc, argv, false);
  if (verb == "count" && argc >= 3) {
    std::printf("%zu\n", FindAll(Arg(2), nullptr).size());
    return 0;
  }
  if (verb == "info" && argc >= 3) return Info(Handle(argv[2]));
  if ((verb == "post" || verb == "send") && argc >= 6) {
    HWND w = Handle(argv[2]);
    const UINT m = static_cast<UINT>(Number(argv[3]));
    const WPARAM wp = static_cast<WPARAM>(Number(argv[4]));
    const LPARAM lp = static_cast<LPARAM>(Number(argv[5]));
    if (verb == "post") return PostMessageW(w, m, wp, lp) ? 0 : 1;
    std::printf("%lld\n", static_cast<long long>(SendMessageW(w, m, wp, lp)));
    return 0;
  }
  if (verb == "msgbox") return MessageBoxVerb(argc > 2 ? static_cast<DWORD>(Number(argv[2])) : 10000);
  if (verb == "no-msgbox" && argc >= 3) {
    return WaitFor(L"#32770", nullptr, static_cast<DWORD>(Number(argv[2])), true) == nullptr ? 0 : 1;
  }
  if (verb == "target" && argc >= 3) return Target(argv[2], argc >= 4 ? argv[3] : nullptr);
  if (verb == "child" && argc >= 4) {  // a dialog's control by its id
    HWND child = GetDlgItem(Handle(argv[2]), static_cast<int>(Number(argv[3])));
    if (child == nullptr) return 1;
    PrintHandle(child);
    return 0;
  }
  if (verb == "caption" && argc >= 3) {
    wchar_t text[256] = {};
    GetWindowTextW(Handle(argv[2]), text, 256);
    std::printf("%s\n", Utf8(text).c_str());
    return 0;
  }
  if (verb == "focus" && argc >= 3) return SetForegroundWindow(Handle(argv[2])) ? 0 : 1;
  if (verb == "foreground") {
    PrintHandle(GetForegroundWindow());
    return 0;
  }
  if (verb == "focused") {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(0, &info);
    PrintHandle(info.hwndFocus);
    return 0;
  }
  if (verb == "place" && argc >= 7) {
    return SetWindowPos(Handle(argv[2]), nullptr, static_cast<int>(Number(argv[3])), static_cast<int>(Number(argv[4])),
                        static_cast<int>(Number(argv[5])), static_cast<int>(Number(argv[6])),
                        SWP_NOZORDER | SWP_NOACTIVATE)
               ? 0
               : 1;
  }
  if (verb == "text" && argc >= 3) {
    HWND edit = FindWindowExW(Handle(argv[2]), nullptr, L"EDIT", nullptr);
    if (edit == nullptr) return 1;
    const int n = static_cast<int>(SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0));
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    SendMessageW(edit, WM_GETTEXT, static_cast<WPARAM>(n + 1), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(n));
    std::printf("%s\n", Utf8(text).c_str());
    return 0;
  }
  return 2;
}
