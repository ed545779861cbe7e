// The settings in the user's registry area for program settings:
// HKEY_CURRENT_USER\Software\<application name>\<section>, one string value
// per key. A value of any other type counts as missing, so its default
// applies, as for a text in the INI file that is no number.
#include "settings/Backend.h"

#include <iterator>
#include <windows.h>

using namespace Qt::StringLiterals;

namespace morvex::settings::backend {
namespace {

std::wstring keyPath(const QString &appName, const QString &section = {}) {
    return (u"Software\\"_s + appName + (section.isEmpty() ? QString() : u'\\' + section))
        .toStdWString();
}

QString errorText(LSTATUS status) {
    wchar_t *text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, DWORD(status), 0, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
    const QString message =
        text ? QString::fromWCharArray(text).trimmed() : u"error %1"_s.arg(status);
    LocalFree(text);
    return message;
}

// The string values of one section's key.
void readSection(HKEY key, const QString &section, Entries &entries) {
    DWORD nameLength = 0, dataBytes = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                         &nameLength, &dataBytes, nullptr, nullptr) != ERROR_SUCCESS)
        return;
    std::wstring name(nameLength + 1, L'\0');
    std::wstring data(dataBytes / sizeof(wchar_t) + 1, L'\0');
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = DWORD(name.size()), dataSize = DWORD(data.size() * sizeof(wchar_t)), type;
        if (RegEnumValueW(key, i, name.data(), &nameSize, nullptr, &type,
                          reinterpret_cast<BYTE *>(data.data()), &dataSize) != ERROR_SUCCESS)
            return;
        if (type != REG_SZ)
            continue;
        QString value = QString::fromWCharArray(data.data(), int(dataSize / sizeof(wchar_t)));
        if (value.endsWith(QChar(u'\0')))
            value.chop(1);
        entries.append({section, QString::fromWCharArray(name.data(), int(nameSize)), value});
    }
}

} // namespace

QString location(const QString &appName) {
    return u"HKEY_CURRENT_USER\\"_s + QString::fromStdWString(keyPath(appName));
}

Entries read(const QString &appName) {
    Entries entries;
    HKEY app;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, keyPath(appName).c_str(), 0, KEY_READ, &app) !=
        ERROR_SUCCESS)
        return entries;
    wchar_t section[256];
    for (DWORD i = 0;; ++i) {
        DWORD size = DWORD(std::size(section));
        if (RegEnumKeyExW(app, i, section, &size, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        HKEY key;
        if (RegOpenKeyExW(app, section, 0, KEY_READ, &key) == ERROR_SUCCESS) {
            readSection(key, QString::fromWCharArray(section, int(size)), entries);
            RegCloseKey(key);
        }
    }
    RegCloseKey(app);
    return entries;
}

// The entries of one unload go in together, each section's key opened once;
// the first failure stops the rest and is reported.
QString write(const QString &appName, const Entries &changes) {
    for (qsizetype first = 0; first < changes.size();) {
        const QString &section = changes[first].section;
        HKEY key = nullptr;
        LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, keyPath(appName, section).c_str(), 0,
                                         nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
        for (;
             status == ERROR_SUCCESS && first < changes.size() && changes[first].section == section;
             ++first) {
            const std::wstring value = changes[first].value.toStdWString();
            status = RegSetValueExW(key, changes[first].key.toStdWString().c_str(), 0, REG_SZ,
                                    reinterpret_cast<const BYTE *>(value.c_str()),
                                    DWORD((value.size() + 1) * sizeof(wchar_t)));
        }
        if (key)
            RegCloseKey(key);
        if (status != ERROR_SUCCESS) {
            report(u"settings not saved to %1: %2"_s.arg(location(appName), errorText(status)));
            return {};
        }
    }
    return {};
}

} // namespace morvex::settings::backend
