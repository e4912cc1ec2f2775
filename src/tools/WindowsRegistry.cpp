// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/Registry.h"

#include <windows.h>

#include <vector>

namespace {

class WindowsRegistry : public IRegistry
{
public:
    std::optional<QStringList> subkeys(const QString &keyPath) const override
    {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, reinterpret_cast<LPCWSTR>(keyPath.utf16()), 0, KEY_READ, &key)
            != ERROR_SUCCESS)
            return std::nullopt;
        QStringList names;
        for (DWORD index = 0;; ++index) {
            wchar_t name[2000];
            wchar_t className[2000];
            DWORD nameLength = 2000;
            DWORD classLength = 2000;
            FILETIME written;
            if (RegEnumKeyExW(key, index, name, &nameLength, nullptr, className, &classLength, &written)
                != ERROR_SUCCESS)
                break;
            names << QString::fromWCharArray(name, int(nameLength));
        }
        RegCloseKey(key);
        return names;
    }

    QString readString(const QString &keyPath, const QString &valueName) const override
    {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, reinterpret_cast<LPCWSTR>(keyPath.utf16()), 0, KEY_QUERY_VALUE, &key)
            != ERROR_SUCCESS)
            return {};
        QString value;
        const auto name = reinterpret_cast<LPCWSTR>(valueName.utf16());
        DWORD type = 0;
        DWORD size = 0;
        if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
            if (type == REG_SZ && size > 0) {
                std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
                if (RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<LPBYTE>(buffer.data()), &size)
                    == ERROR_SUCCESS)
                    value = QString::fromWCharArray(buffer.data());
            } else if (type == REG_DWORD) {
                DWORD number = 0;
                size = sizeof number;
                if (RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<LPBYTE>(&number), &size)
                    == ERROR_SUCCESS)
                    value = QString::number(number);
            }
        }
        RegCloseKey(key);
        return value;
    }
};

} // namespace

const IRegistry &systemRegistry()
{
    static const WindowsRegistry registry;
    return registry;
}
