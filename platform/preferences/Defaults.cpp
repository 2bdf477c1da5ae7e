// SPDX-License-Identifier: GPL-3.0-or-later
#include "Defaults.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QThread>
#include <QTimer>
#include <QVariant>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <sys/stat.h>

namespace {

// A preferences file is a few hundred bytes; anything this large is not ours.
constexpr qint64 largestReadableFile = 1024 * 1024;

// A save that failed is tried again after this long, doubling up to the cap.
constexpr int firstRetryMilliseconds = 1000;
constexpr int longestRetryMilliseconds = 64 * 1000;

QString qtKey(const std::string& key) {
    return QString::fromStdString(key);
}

bool fileExists(const QString& path) {
    return QFileInfo::exists(path) || QFileInfo(path).isSymLink();
}

// Opens the file for reading; nothing when it exists but cannot be read whole.
std::optional<QVariantMap> readFile(const QString& path) {
    QVariantMap values;
    if (!fileExists(path)) {
        return values;
    }
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > largestReadableFile) {
        return std::nullopt;
    }
    QFile probe(path);
    // A text file has no NUL bytes; whatever has them is not ours to parse.
    if (!probe.open(QIODevice::ReadOnly) || probe.readAll().contains('\0')) {
        return std::nullopt;
    }
    probe.close();
    QSettings file(path, QSettings::IniFormat);
    if (file.status() != QSettings::NoError) {
        return std::nullopt;
    }
    for (const QString& key : file.allKeys()) {
        values.insert(key, file.value(key));
    }
    return values;
}

QVariant toQVariant(const Defaults::Value& value) {
    return std::visit(
        [](const auto& held) -> QVariant {
            using Held = std::decay_t<decltype(held)>;
            if constexpr (std::is_same_v<Held, std::string>) {
                return QString::fromStdString(held);
            } else if constexpr (std::is_same_v<Held, std::int64_t>) {
                return QVariant::fromValue(static_cast<qlonglong>(held));
            } else {
                return QVariant::fromValue(held);
            }
        },
        value);
}

bool isText(const QVariant& value) {
    return value.typeId() == QMetaType::QString;
}

std::optional<bool> boolFromText(const QString& text) {
    const QString word = text.trimmed().toLower();
    if (word == u"true" || word == u"yes") {
        return true;
    }
    if (word == u"false" || word == u"no") {
        return false;
    }
    return std::nullopt;
}

std::optional<double> readDouble(const QVariant& value) {
    bool ok = false;
    if (isText(value)) {
        const QString text = value.toString().trimmed();
        const double number = text.toDouble(&ok);
        if (ok) {
            return number;
        }
        if (const auto flag = boolFromText(text)) {
            return *flag ? 1.0 : 0.0;
        }
        return std::nullopt;
    }
    const double number = value.toDouble(&ok);
    return ok ? std::optional(number) : std::nullopt;
}

std::optional<std::int64_t> readInteger(const QVariant& value) {
    // Qt hands back values saved in this process with the type they were saved with.
    bool ok = false;
    if (value.typeId() != QMetaType::Double) {
        const qlonglong whole =
            isText(value) ? value.toString().trimmed().toLongLong(&ok) : value.toLongLong(&ok);
        if (ok) {
            return whole;
        }
    }
    // A fractional number counts by its whole part, as long as that fits.
    const auto number = readDouble(value);
    if (!number || !std::isfinite(*number) || std::fabs(*number) >= 0x1p63) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(*number);
}

std::optional<bool> readBool(const QVariant& value) {
    if (value.typeId() == QMetaType::Bool) {
        return value.toBool();
    }
    if (isText(value)) {
        if (const auto flag = boolFromText(value.toString())) {
            return flag;
        }
    }
    const auto number = readDouble(value);
    if (!number || std::isnan(*number)) {
        return std::nullopt;
    }
    return *number != 0.0;
}

std::optional<std::string> readString(const QVariant& value) {
    // A list (an unquoted comma in the file) or a byte array is not text.
    switch (value.typeId()) {
    case QMetaType::QString:
    case QMetaType::Double:
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Bool:
        return value.toString().toStdString();
    default:
        return std::nullopt;
    }
}

// Qt's save takes a lock file beside ours. A writer killed between creating
// that file and writing its owner into it leaves a lock Qt only gives up on
// after half a minute, blocking the program's next save that long. An empty
// lock that has stood a moment is such a leftover.
void removeAbandonedLock(const QString& file) {
    const QString lockPath = file + QStringLiteral(".lock");
    const QFileInfo lock(lockPath);
    constexpr qint64 abandonedAfterMilliseconds = 100;
    if (lock.exists() && lock.size() == 0 &&
        lock.lastModified().msecsTo(QDateTime::currentDateTime()) > abandonedAfterMilliseconds) {
        QFile::remove(lockPath);
    }
}

// The folder holds a salary and is ours alone, so group and others lose any
// access they have; the user's own bits are left as they are. Folders above it
// are the user's and keep their modes.
void makePrivateFolder(const std::filesystem::path& folder) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode) && (info.st_mode & 077) != 0) {
            ::chmod(folder.c_str(), info.st_mode & 0700);
        }
        return;
    }
    std::error_code error;
    std::filesystem::create_directories(folder.parent_path(), error);
    if (::mkdir(folder.c_str(), 0700) != 0) {
        return;
    }
    ::chmod(folder.c_str(), 0700);
}

// "<file>.bad", else "<file>.bad.1", "<file>.bad.2", ...: the first name not
// taken, so that no earlier unreadable file is lost.
QString freeSetAsideName(const QString& file) {
    const QString base = file + QStringLiteral(".bad");
    QString name = base;
    for (int number = 1; fileExists(name); ++number) {
        name = base + QLatin1Char('.') + QString::number(number);
    }
    return name;
}

} // namespace

struct Defaults::Storage {
    QString path;
    QVariantMap stored;
    // Changes not yet in the file, by key; an invalid value stands for a removal.
    QVariantMap unsaved;
    // The file on disk could not be read when we opened it.
    bool unreadableOnDisk = false;
    // Writes what is unsaved: at the end of the event loop's pass for a
    // change, later for a retry.
    std::unique_ptr<QTimer> writeTimer;
    int retryMilliseconds = firstRetryMilliseconds;
};

namespace {

// Every open store, so that a change still waiting is written however the
// process ends: Qt leaves with exit() when the display goes away.
std::set<Defaults*>& openStores() {
    static auto* const stores = new std::set<Defaults*>();
    return *stores;
}

void writeOpenStoresAtExit() {
    for (Defaults* store : openStores()) {
        store->writePendingChanges();
    }
}

} // namespace

Defaults::Defaults(std::string filePath)
    : path(std::move(filePath)), storage(std::make_unique<Storage>()) {
    storage->path = QString::fromStdString(path);
    if (auto values = readFile(storage->path)) {
        storage->stored = std::move(*values);
    } else {
        storage->unreadableOnDisk = true;
    }
    static const bool registered = std::atexit(writeOpenStoresAtExit) == 0;
    (void)registered;
    openStores().insert(this);
}

Defaults::~Defaults() {
    openStores().erase(this);
    writePendingChanges();
}

void Defaults::writePendingChanges() {
    if (!storage->unsaved.isEmpty()) {
        writeAndReport();
    }
}

std::string Defaults::standardFilePath() {
    std::filesystem::path base;
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    if (configHome && configHome[0] == '/') {
        base = configHome;
    } else {
        const char* home = std::getenv("HOME");
        base = std::filesystem::path(home ? home : "") / ".config";
    }
    return (base / "tallyglow" / "tallyglow.conf").string();
}

bool Defaults::hasObject(const std::string& key) const {
    return storage->stored.contains(qtKey(key)) || registered.contains(key);
}

namespace {

template <typename Read>
auto readTyped(const QVariantMap& stored, const std::map<std::string, Defaults::Value>& registered,
               const std::string& key, Read read) -> decltype(read(QVariant())) {
    if (const auto found = stored.constFind(qtKey(key)); found != stored.constEnd()) {
        if (auto value = read(*found)) {
            return value;
        }
    }
    if (const auto fallback = registered.find(key); fallback != registered.end()) {
        return read(toQVariant(fallback->second));
    }
    return std::nullopt;
}

} // namespace

double Defaults::doubleForKey(const std::string& key) const {
    return readTyped(storage->stored, registered, key, readDouble).value_or(0.0);
}

std::int64_t Defaults::integerForKey(const std::string& key) const {
    return readTyped(storage->stored, registered, key, readInteger).value_or(0);
}

bool Defaults::boolForKey(const std::string& key) const {
    return readTyped(storage->stored, registered, key, readBool).value_or(false);
}

std::optional<std::string> Defaults::stringForKey(const std::string& key) const {
    return readTyped(storage->stored, registered, key, readString);
}

void Defaults::setDouble(double value, const std::string& key) {
    const Value held = value;
    save(key, &held);
}

void Defaults::setInteger(std::int64_t value, const std::string& key) {
    const Value held = value;
    save(key, &held);
}

void Defaults::setBool(bool value, const std::string& key) {
    const Value held = value;
    save(key, &held);
}

void Defaults::setString(const std::string& value, const std::string& key) {
    const Value held = value;
    save(key, &held);
}

void Defaults::removeObject(const std::string& key) {
    if (storage->stored.contains(qtKey(key))) {
        save(key, nullptr);
    }
}

void Defaults::registerDefaults(const std::map<std::string, Value>& fallbacks) {
    for (const auto& [key, value] : fallbacks) {
        registered.insert_or_assign(key, value);
    }
}

// Writes one key (or removes it, for no value) through to the file, with any
// change an earlier save could not write. The value is kept in memory whatever
// happens to the file.
void Defaults::save(const std::string& key, const Value* value) {
    const QString name = qtKey(key);
    if (value) {
        storage->stored.insert(name, toQVariant(*value));
        storage->unsaved.insert(name, toQVariant(*value));
    } else {
        storage->stored.remove(name);
        storage->unsaved.insert(name, QVariant());
    }

    // While the event loop runs, the changes of one pass (a storm of clicks
    // in one call, fast typing) are written together when the pass ends,
    // milliseconds later. Without a running loop, and while the program
    // quits, each is written at once.
    const bool loopRuns = QCoreApplication::instance() &&
                          QThread::currentThread() == QCoreApplication::instance()->thread() &&
                          QThread::currentThread()->loopLevel() > 0;
    if (!loopRuns) {
        writeAndReport();
        return;
    }
    writeLater(0);
}

void Defaults::writeAndReport() {
    const bool wasSaving = saveSucceeded;
    saveSucceeded = writeUnsaved();
    if (saveSucceeded) {
        storage->unsaved.clear();
        storage->retryMilliseconds = firstRetryMilliseconds;
        if (storage->writeTimer) {
            storage->writeTimer->stop();
        }
        if (!wasSaving) {
            qWarning().noquote() << "Tallyglow: preferences saved again to" << storage->path;
        }
        return;
    }
    // One line for the failure, however many retries follow.
    if (wasSaving) {
        qWarning().noquote() << "Tallyglow: cannot save preferences to" << storage->path
                             << "- the change is kept in memory and saved as soon as possible";
    }
    // Retries need an event loop; without one, only the next change writes.
    if (QCoreApplication::instance()) {
        writeLater(storage->retryMilliseconds);
        storage->retryMilliseconds =
            std::min(storage->retryMilliseconds * 2, longestRetryMilliseconds);
    }
}

void Defaults::writeLater(int milliseconds) {
    if (!storage->writeTimer) {
        storage->writeTimer = std::make_unique<QTimer>();
        storage->writeTimer->setSingleShot(true);
        QObject::connect(storage->writeTimer.get(), &QTimer::timeout,
                         [this] { writePendingChanges(); });
        // Quitting is the last chance for a change that is still waiting.
        QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit,
                         storage->writeTimer.get(), [this] { writePendingChanges(); });
    }
    // A change cuts a retry's wait short; a retry never delays a change.
    if (!storage->writeTimer->isActive() || storage->writeTimer->remainingTime() > milliseconds) {
        storage->writeTimer->start(milliseconds);
    }
}

bool Defaults::writeUnsaved() {
    const QString& file = storage->path;
    makePrivateFolder(std::filesystem::path(path).parent_path());
    // Whatever we cannot read is kept aside rather than merged into or
    // overwritten by our save. A file that turned bad since we opened it
    // counts too.
    // The fresh file in its place holds every setting we have, not only the
    // changed ones: what was read before the file went bad is not lost.
    QVariantMap changes = storage->unsaved;
    if (storage->unreadableOnDisk || (fileExists(file) && !readFile(file))) {
        if (fileExists(file) && !QFile::rename(file, freeSetAsideName(file))) {
            return false;
        }
        storage->unreadableOnDisk = false;
        changes.insert(storage->stored);
    }

    removeAbandonedLock(file);
    QSettings settings(file, QSettings::IniFormat);
    for (const auto& [name, value] : changes.asKeyValueRange()) {
        if (value.isValid()) {
            settings.setValue(name, value);
        } else {
            settings.remove(name);
        }
    }
    settings.sync();
    // Qt saves the file world-readable; it holds a salary.
    ::chmod(path.c_str(), 0600);
    return settings.status() == QSettings::NoError;
}
