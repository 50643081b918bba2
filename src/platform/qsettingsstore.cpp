#include "platform/qsettingsstore.h"

#include <QFileInfo>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <charconv>
#include <filesystem>
#include <limits>
#include <memory>
#include <string_view>
#include <utility>

#include "files/filekind.h"
#include "files/wholefile.h"

namespace qm {

namespace {

QString qtext(const std::string& text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

std::string stdtext(const QString& text) { return text.toUtf8().toStdString(); }

// A whole decimal 32-bit integer with an optional sign and nothing else; hand-edited INI values
// such as "9600 baud" or "0x10" are not numbers.
std::optional<int32_t> strictnumber(const std::string& text) {
    std::string_view digits = text;
    if (!digits.empty() && digits.front() == '+') {
        digits.remove_prefix(1);
        // from_chars takes a minus sign itself; "+-5" is not a number.
        if (!digits.empty() && digits.front() == '-') return std::nullopt;
    }
    int32_t value = 0;
    const char* last = digits.data() + digits.size();
    auto [end, error] = std::from_chars(digits.data(), last, value, 10);
    if (error != std::errc() || end != last) return std::nullopt;
    return value;
}

// Why a file that QSettings could not write was not saved.
std::string whynotsaved(const std::string& path) {
    const QFileInfo file(qtext(path));
    if (file.exists() && !file.isWritable()) return "the file is write-protected";
    const QFileInfo folder(file.absolutePath());
    if (!folder.exists()) return "its folder " + stdtext(folder.filePath()) + " cannot be created";
    if (!folder.isDir()) return stdtext(folder.filePath()) + " is not a folder";
    if (!folder.isWritable())
        return "its folder " + stdtext(folder.filePath()) + " may not be written";
    return "the file cannot be written";
}

std::unique_ptr<QSettings> openstore(bool native, const std::string& inipath) {
    if (!native) return std::make_unique<QSettings>(qtext(inipath), QSettings::IniFormat);
#ifdef Q_OS_WIN
    // Given as a path, the key is exactly Software\Quellmark; an organisation name alone would
    // put the values one level lower, under OrganizationDefaults.
    return std::make_unique<QSettings>(QStringLiteral("HKEY_CURRENT_USER\\Software\\Quellmark"),
                                       QSettings::NativeFormat);
#else
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       QStringLiteral("Quellmark"));
#endif
}

}  // namespace

QSettingsStore::QSettingsStore() : native_(true) {}

QSettingsStore::QSettingsStore(std::string inipath)
    : native_(false), inipath_(std::move(inipath)) {}

// QSettings creates the key or file with the first value written, and every accessor that finds
// nothing writes its default, so there is nothing to do ahead of the access.
void QSettingsStore::createkey() {}

std::string QSettingsStore::inifile() const {
    if (!native_) return inipath_;
#ifdef Q_OS_WIN
    return {};
#else
    // Where QSettings puts the per-user INI file, also after QSettings::setPath. Constructing a
    // QSettings reads its file at once (a pipe there would block), so the folder is learnt from
    // a name that has no file.
    const QSettings probe(QSettings::IniFormat, QSettings::UserScope,
                          QStringLiteral("Quellmark-folder-probe"));
    return stdtext(QFileInfo(probe.fileName()).absolutePath() + QStringLiteral("/Quellmark.ini"));
#endif
}

std::string QSettingsStore::unusablereason() const {
    const std::string path = inifile();
    if (path.empty()) return {};
    // Links are followed: a link to an ordinary file is written through, as QSettings does.
    if (std::string why = notordinaryfile(path); !why.empty()) return why;
    // QSettings reads the whole file into memory and writes it back whole with every value.
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (!ec && size > kMaxSettingsFileBytes)
        return "it holds " + std::to_string(size) + " bytes, more than the " +
               bytecounttext(kMaxSettingsFileBytes) + " a settings file may hold";
    // QSettings guards every access with a lock file beside the INI file, which it opens, reads
    // and, when it looks stale, deletes: a pipe there would block, a device node be removed.
    const std::string lock = path + ".lock";
    if (std::string why = notordinaryfile(lock); !why.empty())
        return "its lock file " + lock + " " + why.substr(std::string("it ").size());
    return {};
}

void QSettingsStore::checkwrite(const QSettings& settings) {
    if (settings.status() == QSettings::NoError) return;
    const std::string path = inifile();
    writefailure_ = path.empty() ? "the registry refused the value" : whynotsaved(path);
}

std::optional<std::string> QSettingsStore::readtext(const std::string& name) {
    if (!unusablereason().empty()) return std::nullopt;
    auto settings = openstore(native_, inipath_);
    const QVariant value = settings->value(qtext(name));
    if (!value.isValid()) return std::nullopt;
    // An unquoted comma in a hand-edited INI value makes QSettings read a list; the user meant
    // one text.
    if (value.typeId() == QMetaType::QStringList) return stdtext(value.toStringList().join(u','));
    if (!value.canConvert<QString>()) return std::nullopt;
    return stdtext(value.toString());
}

std::optional<int32_t> QSettingsStore::readnum(const std::string& name) {
    if (!unusablereason().empty()) return std::nullopt;
    auto settings = openstore(native_, inipath_);
    const QVariant value = settings->value(qtext(name));
    if (!value.isValid()) return std::nullopt;
    switch (value.typeId()) {
        case QMetaType::Int:
            return value.toInt();
        case QMetaType::UInt:
            // A registry DWORD: the 32 bits as they stand.
            return static_cast<int32_t>(value.toUInt());
        case QMetaType::QString:
        case QMetaType::QByteArray:
            return strictnumber(stdtext(value.toString()));
        default:
            break;
    }
    bool ok = false;
    const qlonglong wide = value.toLongLong(&ok);
    if (!ok || wide < std::numeric_limits<int32_t>::min() ||
        wide > std::numeric_limits<int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<int32_t>(wide);
}

void QSettingsStore::writetext(const std::string& name, const std::string& value) {
    if (!unusablereason().empty()) return;
    auto settings = openstore(native_, inipath_);
    settings->setValue(qtext(name), qtext(value));
    settings->sync();
    checkwrite(*settings);
}

void QSettingsStore::writenum(const std::string& name, int32_t value) {
    if (!unusablereason().empty()) return;
    auto settings = openstore(native_, inipath_);
    settings->setValue(qtext(name), static_cast<int>(value));
    settings->sync();
    checkwrite(*settings);
}

std::string QSettingsStore::location() const {
    const std::string path = inifile();
    if (!path.empty()) return path;
    return stdtext(openstore(native_, inipath_)->fileName());
}

}  // namespace qm
