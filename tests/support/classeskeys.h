// Registry layouts under HKEY_CLASSES_ROOT for tests: keys made from one-line
// texts, read back as texts, and top-level keys moved aside and put back.
#ifndef QUORZEL_TESTS_CLASSESKEYS_H
#define QUORZEL_TESTS_CLASSESKEYS_H

#include <windows.h>

#include <string>

// Where the keys moved aside wait, under HKEY_CURRENT_USER.
const char SAVED_CLASSES_KEY[] = "Software\\quorzel-tests\\saved classes";

// "path" makes the key; "path=text" also sets its REG_SZ default value (the
// terminator counted), "path:bytes" a REG_BINARY one of exactly those bytes.
inline bool CreateClassesKey(const std::string& line)
{
    const size_t at = line.find_first_of("=:");
    HKEY hKey;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, line.substr(0, at).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &hKey, nullptr) != ERROR_SUCCESS)
        return false;
    LONG lResult = ERROR_SUCCESS;
    if (at != std::string::npos)
    {
        const std::string data = line.substr(at + 1);
        const bool fText = line[at] == '=';
        lResult = RegSetValueExA(hKey, nullptr, 0, fText ? REG_SZ : REG_BINARY,
                                 reinterpret_cast<const BYTE*>(data.c_str()), DWORD(data.size() + fText));
    }
    RegCloseKey(hKey);
    return lResult == ERROR_SUCCESS;
}

// The key's default value, or "<no value>", or "<absent>".
inline std::string ReadClassesKey(const std::string& path)
{
    HKEY hKey;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return "<absent>";
    std::string value(65536, '\0');
    DWORD dwSize = DWORD(value.size());
    const LONG lResult = RegQueryValueExA(hKey, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(&value[0]), &dwSize);
    RegCloseKey(hKey);
    return lResult == ERROR_SUCCESS ? value.c_str() : "<no value>";
}

// Moves the top-level key aside (once: an interrupted run's copy is the
// original) and leaves its name free for a test's own layout.
inline void SaveClassesKey(const std::string& name)
{
    const std::string saved = std::string(SAVED_CLASSES_KEY) + "\\" + name;
    HKEY hOriginal;
    HKEY hSaved;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, saved.c_str(), 0, KEY_READ, &hSaved) == ERROR_SUCCESS)
        RegCloseKey(hSaved);
    else if (RegOpenKeyExA(HKEY_CLASSES_ROOT, name.c_str(), 0, KEY_READ, &hOriginal) == ERROR_SUCCESS)
    {
        if (RegCreateKeyExA(HKEY_CURRENT_USER, saved.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hSaved,
                            nullptr) == ERROR_SUCCESS)
        {
            RegCopyTreeA(hOriginal, nullptr, hSaved);
            RegCloseKey(hSaved);
        }
        RegCloseKey(hOriginal);
    }
    RegDeleteTreeA(HKEY_CLASSES_ROOT, name.c_str());
}

// Puts back what SaveClassesKey moved aside, or leaves the name free again.
inline void RestoreClassesKey(const std::string& name)
{
    const std::string saved = std::string(SAVED_CLASSES_KEY) + "\\" + name;
    RegDeleteTreeA(HKEY_CLASSES_ROOT, name.c_str());
    HKEY hSaved;
    HKEY hOriginal = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, saved.c_str(), 0, KEY_READ, &hSaved) != ERROR_SUCCESS)
        return;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hOriginal,
                        nullptr) == ERROR_SUCCESS &&
        RegCopyTreeA(hSaved, nullptr, hOriginal) == ERROR_SUCCESS)
        RegDeleteTreeA(HKEY_CURRENT_USER, saved.c_str());
    RegCloseKey(hOriginal);
    RegCloseKey(hSaved);
    RegDeleteKeyA(HKEY_CURRENT_USER, SAVED_CLASSES_KEY);  // when it is empty
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\quorzel-tests");
}

#endif
