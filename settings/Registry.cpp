// The settings in the user's registry area for program settings:
// HKEY_CURRENT_USER\Software\<application name>\<section>, one string value
// per key. A value of any other type counts as missing, so its default
// applies, as for a text in the INI file that is no number.
#include "settings/Backend.h"

#include <iterator>
#include <utility>
#include <vector>
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

// What one save changed, so that a save that fails part way can put it
// back: the section keys it opened (and which of them it created) and every
// value as it was before the save wrote it.
class Undo {
public:
    explicit Undo(const QString &appName)
        : appName_(appName), appKeyExisted_(exists(keyPath(appName))) {}
    ~Undo() {
        for (const Section &section : sections_)
            RegCloseKey(section.key);
    }
    Undo(const Undo &) = delete;
    Undo &operator=(const Undo &) = delete;

    // The section's key, opened for reading and writing values (created
    // when missing); nullptr when that fails, with `status` saying why.
    HKEY openSection(const QString &section, LSTATUS &status) {
        HKEY key = nullptr;
        DWORD disposition = 0;
        status = RegCreateKeyExW(HKEY_CURRENT_USER, keyPath(appName_, section).c_str(), 0, nullptr,
                                 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key, &disposition);
        if (status != ERROR_SUCCESS)
            return nullptr;
        sections_.push_back({section, key, disposition == REG_CREATED_NEW_KEY});
        return key;
    }

    // Notes the value as it stands, before it is written.
    LSTATUS keep(HKEY key, const std::wstring &name) {
        Value before{key, name, true, REG_NONE, {}};
        LSTATUS status;
        do { // its size, then its data; again when it grew in between
            DWORD bytes = 0;
            status = RegQueryValueExW(key, name.c_str(), nullptr, nullptr, nullptr, &bytes);
            if (status != ERROR_SUCCESS)
                break;
            before.data.resize(bytes);
            status = RegQueryValueExW(key, name.c_str(), nullptr, &before.type, before.data.data(),
                                      &bytes);
            before.data.resize(bytes);
        } while (status == ERROR_MORE_DATA);
        if (status == ERROR_FILE_NOT_FOUND) {
            before.existed = false;
            status = ERROR_SUCCESS;
        }
        if (status == ERROR_SUCCESS)
            values_.push_back(std::move(before));
        return status;
    }

    // Puts back every value noted, the last first, then removes the keys
    // created; the first failure is returned, and the rest still tried.
    LSTATUS putBack() {
        LSTATUS first = ERROR_SUCCESS;
        const auto note = [&first](LSTATUS status) {
            if (first == ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
                first = status;
        };
        for (auto value = values_.rbegin(); value != values_.rend(); ++value)
            note(value->existed ? RegSetValueExW(value->key, value->name.c_str(), 0, value->type,
                                                 value->data.data(), DWORD(value->data.size()))
                                : RegDeleteValueW(value->key, value->name.c_str()));
        for (Section &section : sections_) {
            RegCloseKey(section.key);
            if (section.created)
                note(RegDeleteKeyW(HKEY_CURRENT_USER, keyPath(appName_, section.name).c_str()));
        }
        sections_.clear();
        if (!appKeyExisted_)
            note(RegDeleteKeyW(HKEY_CURRENT_USER, keyPath(appName_).c_str()));
        return first;
    }

private:
    struct Section {
        QString name;
        HKEY key;
        bool created;
    };
    struct Value {
        HKEY key;
        std::wstring name;
        bool existed;
        DWORD type;
        std::vector<BYTE> data;
    };

    static bool exists(const std::wstring &path) {
        HKEY key;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }

    QString appName_;
    bool appKeyExisted_;
    std::vector<Section> sections_;
    std::vector<Value> values_;
};

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

// The entries of one unload go in together, each run of entries of one
// section through one opening of its key.
// A save that fails part way puts back what it had written: values it
// created are deleted, values it replaced get their old type and data back,
// and keys it created are removed, so the registry is as it was before.
QString write(const QString &appName, const Entries &changes) {
    Undo undo(appName);
    LSTATUS status = ERROR_SUCCESS;
    for (qsizetype first = 0; status == ERROR_SUCCESS && first < changes.size();) {
        const QString &section = changes[first].section;
        HKEY key = undo.openSection(section, status);
        for (;
             status == ERROR_SUCCESS && first < changes.size() && changes[first].section == section;
             ++first) {
            const std::wstring name = changes[first].key.toStdWString();
            const std::wstring value = changes[first].value.toStdWString();
            status = undo.keep(key, name);
            if (status == ERROR_SUCCESS)
                status = RegSetValueExW(key, name.c_str(), 0, REG_SZ,
                                        reinterpret_cast<const BYTE *>(value.c_str()),
                                        DWORD((value.size() + 1) * sizeof(wchar_t)));
        }
    }
    if (status != ERROR_SUCCESS) {
        report(u"settings not saved to %1: %2"_s.arg(location(appName), errorText(status)));
        if (const LSTATUS undone = undo.putBack(); undone != ERROR_SUCCESS)
            report(u"settings in %1 not put back as they were: %2"_s.arg(location(appName),
                                                                         errorText(undone)));
    }
    return {};
}

} // namespace morvex::settings::backend
