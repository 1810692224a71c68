// Registry layouts under HKEY_CLASSES_ROOT for tests: keys made from one-line
// texts and read back as texts.
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
    if (at == std::string::npos)
        return RegCreateKeyA(HKEY_CLASSES_ROOT, line.c_str(), &hKey) == ERROR_SUCCESS &&
               RegCloseKey(hKey) == ERROR_SUCCESS;
    const bool fText = line[at] == '=';
    return RegSetKeyValueA(HKEY_CLASSES_ROOT, line.substr(0, at).c_str(), nullptr,
                           fText ? REG_SZ : REG_BINARY, line.c_str() + at + 1,
                           DWORD(line.size() - at - 1 + fText)) == ERROR_SUCCESS;
}

// The key's default value ("binary:" before a REG_BINARY one), or "<no value>", or "<absent>".
inline std::string ReadClassesKey(const std::string& path)
{
    static char szValue[65536];
    DWORD dwType = 0;
    DWORD dwSize = sizeof szValue;
    if (RegGetValueA(HKEY_CLASSES_ROOT, path.c_str(), nullptr, RRF_RT_ANY | RRF_NOEXPAND, &dwType,
                     szValue, &dwSize) == ERROR_SUCCESS)
        return (dwType == REG_BINARY ? "binary:" : "") +
               std::string(std::string(szValue, dwSize).c_str());
    HKEY hKey;
    const bool fExists =
        RegOpenKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &hKey) == ERROR_SUCCESS;
    return fExists && RegCloseKey(hKey) == ERROR_SUCCESS ? "<no value>" : "<absent>";
}

#endif
