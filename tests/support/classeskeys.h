// Keys under HKEY_CLASSES_ROOT for tests, made from one-line texts and read back as texts.
#ifndef QUORZEL_TESTS_CLASSESKEYS_H
#define QUORZEL_TESTS_CLASSESKEYS_H

#include <windows.h>
#include <sddl.h>

#include <algorithm>
#include <string>

// Gives the key and every key below it the access control list of the text (SDDL).
inline bool SetClassesKeyAccess(const std::string& path, const char* pszAccess)
{
    HKEY hKey;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ | WRITE_DAC, &hKey))
        return false;
    PSECURITY_DESCRIPTOR pDescriptor = nullptr;
    ConvertStringSecurityDescriptorToSecurityDescriptorA(pszAccess, SDDL_REVISION_1, &pDescriptor,
                                                         nullptr);
    bool fSet = RegSetKeySecurity(hKey, DACL_SECURITY_INFORMATION, pDescriptor) == ERROR_SUCCESS;
    LocalFree(pDescriptor);
    char szName[MAX_PATH];
    for (DWORD i = 0; RegEnumKeyA(hKey, i, szName, MAX_PATH) == ERROR_SUCCESS; ++i)
        fSet = SetClassesKeyAccess(path + "\\" + szName, pszAccess) && fSet;
    RegCloseKey(hKey);
    return fSet;
}

// "path" makes the key; "path=text" sets its default value too (or "path@name=text" its value
// "name"): REG_SZ, terminator counted, or after "binary:" exactly the bytes, or after "expand:"
// REG_EXPAND_SZ. "read-only path" lets everyone only read the key and those below it, "writable
// path" lets everyone change them, and "volatile path" makes the key and those missing above it
// volatile: their keys must be too.
inline bool CreateClassesKey(const std::string& line)
{
    if (line.compare(0, 10, "read-only ") == 0)
        return SetClassesKeyAccess(line.substr(10), "D:(A;;KR;;;WD)");
    if (line.compare(0, 9, "writable ") == 0)
        return SetClassesKeyAccess(line.substr(9), "D:(A;;KA;;;WD)");
    const size_t at = line.find('=');
    const DWORD dwOptions = line.compare(0, 9, "volatile ") == 0 ? REG_OPTION_VOLATILE : 0;
    HKEY hKey;
    if (at == std::string::npos)
        return RegCreateKeyExA(HKEY_CLASSES_ROOT, line.substr(dwOptions ? 9 : 0).c_str(), 0,
                               nullptr, dwOptions, KEY_READ, nullptr, &hKey, nullptr) == 0 &&
               RegCloseKey(hKey) == 0;
    const std::string type = line.substr(at + 1, 7);
    const DWORD dwType = type == "binary:"   ? REG_BINARY
                         : type == "expand:" ? REG_EXPAND_SZ
                                             : REG_SZ;
    const std::string value =
        line.substr(at + (dwType == REG_SZ ? 1 : 8)) + std::string(dwType != REG_BINARY, '\0');
    const size_t named = line.find('@');
    return RegSetKeyValueA(HKEY_CLASSES_ROOT, line.substr(0, std::min(at, named)).c_str(),
                           named < at ? line.substr(named + 1, at - named - 1).c_str() : nullptr,
                           dwType, value.data(), DWORD(value.size())) == ERROR_SUCCESS;
}

// The key's default value (or of "path@name" its value "name"), with "binary:" or "expand:" before
// one of those types, or "<absent>" where the key or its value is missing.
inline std::string ReadClassesKey(const std::string& path)
{
    static char szValue[65536];
    DWORD dwType = 0;
    DWORD dwSize = sizeof szValue;
    const size_t named = path.find('@');
    if (RegGetValueA(HKEY_CLASSES_ROOT, path.substr(0, named).c_str(),
                     named == std::string::npos ? nullptr : path.c_str() + named + 1,
                     RRF_RT_ANY | RRF_NOEXPAND, &dwType, szValue, &dwSize))
        return "<absent>";
    const char* const pszType = dwType == REG_BINARY      ? "binary:"
                                : dwType == REG_EXPAND_SZ ? "expand:"
                                                          : "";
    return std::string(pszType) + std::string(szValue, dwSize).c_str();
}

// Deletes the keys and all below them, read-only or not.
inline void DeleteClassesKeys(std::initializer_list<const char*> names)
{
    for (const char* pszName : names)
        RegDeleteTreeA(HKEY_CLASSES_ROOT, pszName);
}

#endif
