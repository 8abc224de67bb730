#include "ui/qt/platform_plugin.h"

#include <algorithm>
#include <optional>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QPluginLoader>
#include <QStringList>

namespace ui::qt {
namespace {

// The interface every platform plugin implements. Its version suffix ("5.3") is left out, so a Qt
// that moves it on still finds its plugins; the key names the platform either way.
constexpr char kPlatformInterface[] = "org.qt-project.Qt.QPA.QPlatformIntegrationFactoryInterface";

QStringList PluginDirectories()
{
    QStringList dirs;
    QString own = qEnvironmentVariable("QT_QPA_PLATFORM_PLUGIN_PATH");
    if (!own.isEmpty())
        dirs << own;
    // Qt's own list: its installed plugin folder (QLibraryInfo::PluginsPath), QT_PLUGIN_PATH
    // and the program's folder, as its plugin loader searches them.
    for (const QString& path : QCoreApplication::libraryPaths())
        dirs << path + "/platforms";
    return dirs;
}

bool Offers(const QJsonObject& meta, const QString& name)
{
    if (!meta.value("IID").toString().startsWith(QLatin1String(kPlatformInterface)))
        return false;
    const QJsonArray keys = meta.value("MetaData").toObject().value("Keys").toArray();
    for (const auto& key : keys)
        if (key.toString().compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

}  // namespace

std::string CheckPlatformPlugin(const std::string& name)
{
    QString wanted = QString::fromStdString(name);
    // Empty when `path` offers the platform and loads; why it does not load; or nothing at all
    // when it is not a plugin for this platform. Reading the metadata does not load the library;
    // Qt later reuses the one loaded here.
    auto tryPlugin = [&](const QString& path) -> std::optional<std::string> {
        QPluginLoader loader(path);
        if (!Offers(loader.metaData(), wanted))
            return std::nullopt;
        if (loader.load())
            return "";
        return "Qt's platform plugin for \"" + name + "\" does not load (" + loader.errorString().toStdString() + ")";
    };
    // Qt names its own plugins after the platform ("libqxcb.so", "libqwayland-egl.so"); trying
    // those first spares listing the folders and reading every plugin's metadata at each start.
    // Any other file may offer the platform too, so the rest follow.
    const QString usual = "libq" + wanted.toLower();
    const QStringList dirs = PluginDirectories();
    for (const QString& dir : dirs)
        if (QFileInfo::exists(dir + "/" + usual + ".so"))
            if (auto said = tryPlugin(dir + "/" + usual + ".so"))
                return *said;
    for (const QString& dir : dirs) {
        // Filtered here rather than by a name filter, which Qt turns into a regular expression:
        // compiling that one pattern brings half a megabyte of the regex engine into memory.
        QStringList files = QDir(dir).entryList(QDir::Files);
        files.removeIf([](const QString& file) { return !file.endsWith(QLatin1String(".so")); });
        std::stable_partition(files.begin(), files.end(),
                              [&](const QString& file) { return file.startsWith(usual); });
        for (const QString& file : files)
            if (auto said = tryPlugin(dir + "/" + file))
                return *said;
    }
    return "no Qt platform plugin for \"" + name + "\" is installed";
}

}  // namespace ui::qt
