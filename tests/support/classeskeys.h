// Registry layouts under HKEY_CLASSES_ROOT for tests: keys made from one-line texts and read
// back as texts.
#ifndef QUORZEL_TESTS_CLASSESKEYS_H
#define QUORZEL_TESTS_CLASSESKEYS_H

#include <windows.h>
#include <sddl.h>

#include <string>

// Gives the key and every key below it the access control list of the text (SDDL).
inline bool SetClassesKeyAccess(const std::string& path, const char* pszAccess)
{
    HKEY hKey;
    PSECURITY_DESCRIPTOR pDescriptor = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ | WRITE_DAC, &hKey) !=
        ERROR_SUCCESS)
        return false;
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

// "path" makes the key; "path=text" also sets its default value: REG_SZ with the terminator
// counted, or after "binary:" or "expand:" REG_BINARY of exactly the bytes after it, or
// REG_EXPAND_SZ. "read-only path" lets everyone only read the key and those below it.
inline bool CreateClassesKey(const std::string& line)
{
    if (line.compare(0, 10, "read-only ") == 0)
        return SetClassesKeyAccess(line.substr(10), "D:(A;;KR;;;WD)");
    const size_t at = line.find('=');
    HKEY hKey;
    if (at == std::string::npos)
        return RegCreateKeyA(HKEY_CLASSES_ROOT, line.c_str(), &hKey) == ERROR_SUCCESS &&
               RegCloseKey(hKey) == ERROR_SUCCESS;
    std::string value = line.substr(at + 1) + '\0';
    DWORD dwType = REG_SZ;
    if (value.compare(0, 7, "binary:") == 0 || value.compare(0, 7, "expand:") == 0)
    {
        dwType = value[0] == 'b' ? REG_BINARY : REG_EXPAND_SZ;
        value = value.substr(7, value.size() - 7 - (dwType == REG_BINARY));
    }
    return RegSetKeyValueA(HKEY_CLASSES_ROOT, line.substr(0, at).c_str(), nullptr, dwType,
                           value.data(), DWORD(value.size())) == ERROR_SUCCESS;
}

// The key's default value, with "binary:" or "expand:" before one of those types, or
// "<no value>", or "<absent>".
inline std::string ReadClassesKey(const std::string& path)
{
    static char szValue[65536];
    DWORD dwType = 0;
    DWORD dwSize = sizeof szValue;
    const DWORD dwFlags = RRF_RT_ANY | RRF_NOEXPAND;
    if (RegGetValueA(HKEY_CLASSES_ROOT, path.c_str(), nullptr, dwFlags, &dwType, szValue,
                     &dwSize) == 0)
    {
        const std::string type = dwType == REG_BINARY      ? "binary:"
                                 : dwType == REG_EXPAND_SZ ? "expand:"
                                                           : "";
        return type + std::string(szValue, dwSize).c_str();
    }
    HKEY hKey;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return "<absent>";
    RegCloseKey(hKey);
    return "<no value>";
}

// Deletes the keys and all below them, once every user may change them again.
inline void DeleteClassesKeys(std::initializer_list<const char*> names)
{
    for (const char* pszName : names)
    {
        SetClassesKeyAccess(pszName, "D:(A;;KA;;;WD)");
        RegDeleteTreeA(HKEY_CLASSES_ROOT, pszName);
    }
}

#endif
