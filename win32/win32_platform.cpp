#include "win32/win32_platform.h"

#include <mmsystem.h>

#include <vector>

#include "platform/timers.h"

namespace tessary::win32 {

namespace {
constexpr UINT kCodePage949 = 949;
}

std::u16string Cp949Codec::Cp949ToUtf16(std::string_view text) const {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int n = MultiByteToWideChar(kCodePage949, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
  if (n <= 0) return {};
  std::u16string out(static_cast<size_t>(n), u'\0');
  MultiByteToWideChar(kCodePage949, MB_ERR_INVALID_CHARS, text.data(), size,
                      reinterpret_cast<wchar_t*>(out.data()), n);
  return out;
}

std::string Cp949Codec::Utf16ToCp949(std::u16string_view text) const {
  if (text.empty()) return {};
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int size = static_cast<int>(text.size());
  BOOL lossy = FALSE;
  const int n = WideCharToMultiByte(kCodePage949, 0, wide, size, nullptr, 0, nullptr, &lossy);
  if (n <= 0 || lossy) return {};
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(kCodePage949, 0, wide, size, out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring Wide(std::string_view cp949) {
  const std::u16string wide = Cp949Codec().Cp949ToUtf16(cp949);
  return std::wstring(wide.begin(), wide.end());
}

std::string Win32FileSystem::CurrentDirectory() {
  const DWORD size = GetCurrentDirectoryW(0, nullptr);
  std::wstring wide(size, L'\0');
  const DWORD n = GetCurrentDirectoryW(size, wide.data());
  wide.resize(n);
  return Cp949Codec().Utf16ToCp949(std::u16string(wide.begin(), wide.end()));
}

std::optional<std::vector<DirectoryEntry>> Win32FileSystem::ListDirectory(const std::string& path) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((Wide(path) + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return std::nullopt;
  std::vector<DirectoryEntry> entries;
  const Cp949Codec codec;
  do {
    const std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    const std::string cp949 = codec.Utf16ToCp949(std::u16string(name.begin(), name.end()));
    if (cp949.empty()) continue;  // a name CP949 cannot spell cannot be named by the keyboard
    entries.push_back({cp949, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return entries;
}

bool Win32FileSystem::CanOpenForReading(const std::string& path) {
  UniqueHandle file(CreateFileW(Wide(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  return file.valid();
}

std::optional<std::string> Win32FileSystem::ReadWholeFile(const std::string& path) {
  UniqueHandle file(CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return std::nullopt;
  std::string content;
  std::vector<char> buffer(65536);
  for (;;) {
    DWORD n = 0;
    if (!ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &n, nullptr)) {
      return std::nullopt;
    }
    if (n == 0) break;
    content.append(buffer.data(), n);
  }
  return content;
}

bool Win32FileSystem::WriteNewFile(const std::string& path, std::string_view bytes) {
  UniqueHandle file(CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return false;
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD n = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
    if (!WriteFile(file.get(), bytes.data() + done, chunk, &n, nullptr) || n == 0) return false;
    done += n;
  }
  if (!FlushFileBuffers(file.get())) return false;
  return CloseHandle(file.release()) != 0;
}

bool Win32FileSystem::ReplaceFile(const std::string& from, const std::string& to) {
  return MoveFileExW(Wide(from).c_str(), Wide(to).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void Win32FileSystem::RemoveFile(const std::string& path) { DeleteFileW(Wide(path).c_str()); }

void Win32MessageBoxes::Show(std::string_view text, std::string_view title) {
  MessageBoxW(nullptr, Wide(text).c_str(), Wide(title).c_str(), MB_OK);
}

std::string ResourceTexts::LoadTextResource(int id) const {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(id), "TEXT");
  if (info == nullptr) return {};
  const DWORD size = SizeofResource(module, info);
  HGLOBAL loaded = LoadResource(module, info);
  const char* bytes = loaded != nullptr ? static_cast<const char*>(LockResource(loaded)) : nullptr;
  if (bytes == nullptr) return {};
  std::string_view text(bytes, size);
  return std::string(text.substr(0, text.find('\0')));
}

UINT StartMultimediaTimer(UINT delay, LPTIMECALLBACK callback, DWORD_PTR user, UINT kind) {
  TIMECAPS caps{};
  TimerCaps limits;
  if (timeGetDevCaps(&caps, sizeof caps) == TIMERR_NOERROR) {
    limits.periodMin = caps.wPeriodMin;
    limits.periodMax = caps.wPeriodMax;
  }
  const UINT resolution = TimerResolution(limits);
  timeBeginPeriod(resolution);
  const UINT id = timeSetEvent(delay, resolution, callback, user, kind);
  timeEndPeriod(resolution);
  return id;
}

void StartOneShotTimer(UINT delay, LPTIMECALLBACK callback, DWORD_PTR user) {
  StartMultimediaTimer(delay, callback, user, TIME_ONESHOT);
}

}  // namespace tessary::win32
