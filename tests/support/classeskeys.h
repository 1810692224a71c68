// Registry layouts under HKEY_CLASSES_ROOT for tests: keys made from one-line
// texts, read back as texts, and top-level keys moved aside and put back.
#ifndef QUORZEL_TESTS_CLASSESKEYS_H
#define QUORZEL_TESTS_CLASSESKEYS_H

#include <windows.h>

#include <string>

// "path" makes the key; "path=text" also sets its REG_SZ default value (the
// terminator counted), "path:bytes" a REG_BINARY one of exactly those bytes.
inline bool CreateClassesKey(const std::string& line)
{
    const size_t at = line.find_first_of("=:");
    HKEY hKey;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, line.substr(0, at).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &hKey, nullptr) != ERROR_SUCCESS)
        return false;
    const std::string data = at == std::string::npos ? "" : line.substr(at + 1);
    const bool fText = at != std::string::npos && line[at] == '=';
    const LONG lResult = at == std::string::npos ? ERROR_SUCCESS
                       : RegSetValueExA(hKey, nullptr, 0, fText ? REG_SZ : REG_BINARY,
                                        reinterpret_cast<const BYTE*>(data.c_str()), DWORD(data.size() + fText));
    return (lResult | RegCloseKey(hKey)) == ERROR_SUCCESS;
}

// The key's default value, or "<no value>", or "<absent>".
inline std::string ReadClassesKey(const std::string& path, HKEY hRoot = HKEY_CLASSES_ROOT)
{
    HKEY hKey;
    if (RegOpenKeyExA(hRoot, path.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return "<absent>";
    std::string value(65536, '\0');
    DWORD dwSize = DWORD(value.size());
    const LONG lResult = RegQueryValueExA(hKey, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(&value[0]), &dwSize);
    RegCloseKey(hKey);
    return lResult == ERROR_SUCCESS ? value.c_str() : "<no value>";
}

// Moves a key with its subtree to another place, replacing what stood there;
// true when no original remains.
inline bool MoveKey(HKEY hFromRoot, const std::string& from, HKEY hToRoot, const std::string& to)
{
    HKEY hFrom, hTo;
    if (RegOpenKeyExA(hFromRoot, from.c_str(), 0, KEY_READ, &hFrom) != ERROR_SUCCESS)
        return true;
    RegDeleteTreeA(hToRoot, to.c_str());
    LONG lResult = RegCreateKeyExA(hToRoot, to.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hTo, nullptr);
    if (lResult == ERROR_SUCCESS)
        lResult = RegCopyTreeA(hFrom, nullptr, hTo) | RegCloseKey(hTo);
    RegCloseKey(hFrom);
    return lResult == ERROR_SUCCESS && RegDeleteTreeA(hFromRoot, from.c_str()) == ERROR_SUCCESS;
}

// A top-level name freed for a test's own layout waits under HKEY_CURRENT_USER
// (a copy that an interrupted run left there is the original), then goes back.
const std::string SAVED_CLASSES = "Software\\quorzel-tests\\";

inline bool SaveClassesKey(const std::string& name)
{
    if (ReadClassesKey(SAVED_CLASSES + name, HKEY_CURRENT_USER) == "<absent>" &&
        !MoveKey(HKEY_CLASSES_ROOT, name, HKEY_CURRENT_USER, SAVED_CLASSES + name))
        return false;
    RegDeleteTreeA(HKEY_CLASSES_ROOT, name.c_str());
    return true;
}

inline void RestoreClassesKey(const std::string& name)
{
    RegDeleteTreeA(HKEY_CLASSES_ROOT, name.c_str());
    MoveKey(HKEY_CURRENT_USER, SAVED_CLASSES + name, HKEY_CLASSES_ROOT, name);
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\quorzel-tests");  // once it is empty
}

#endif
