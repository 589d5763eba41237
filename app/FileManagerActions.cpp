#include "app/FileManagerActions.h"

#include <cstdio>
#include <cstring>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// Every file and entry we write carries one of these, and only what carries
// it is ever replaced or removed: the user's own scripts and actions, even
// under the same names, stay as they are.
const char* const kScriptMarker = "# Written by korvala --install-file-manager-actions";
const char* const kThunarIdPrefix = "<unique-id>korvala-";

QString xdgDir(const char* variable, const char* fallbackBelowHome)
{
    const QString value = qEnvironmentVariable(variable);
    // The XDG rules ignore a relative value.
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return value;
    return QDir::homePath() + QLatin1Char('/') + QLatin1String(fallbackBelowHome);
}

// The script's name is the menu entry's text; a "/" cannot stand in a file
// name, so it becomes the division slash U+2215, which reads the same.
QString scriptName(const TFileManagerAction& action)
{
    QString title = QString::fromUtf8(action.title);
    title.replace(QLatin1Char('/'), QChar(0x2215));
    return QStringLiteral("Korvala: ") + title;
}

// Nautilus runs a script with the selected names as arguments, relative to
// the folder shown; they are made absolute here so that a name starting
// with "-" cannot pass for an option, and handed over whole, whatever bytes
// they hold (no shell ever reads them as code).
QByteArray nautilusScript(const TFileManagerAction& action)
{
    return QByteArray("#!/bin/sh\n") + kScriptMarker +
           "; removed by korvala --remove-file-manager-actions.\n"
           "for f do\n"
           "  case $f in /*) ;; *) f=$PWD/$f ;; esac\n"
           "  set -- \"$@\" \"$f\"\n"
           "  shift\n"
           "done\n"
           "exec korvala --page " + action.page + " \"$@\"\n";
}

QByteArray thunarBlock(const TFileManagerAction& action)
{
    const auto text = [](const char* value) {
        return QString::fromUtf8(value).toHtmlEscaped().toUtf8();
    };
    QByteArray block = QByteArray("<action>\n") +
        "\t<icon>korvala</icon>\n"
        "\t<name>Korvala: " + text(action.title) + "</name>\n"
        "\t<submenu></submenu>\n"
        "\t" + kThunarIdPrefix + action.page + "</unique-id>\n"
        "\t<command>korvala --page " + action.page + " %F</command>\n"
        "\t<description>" + text(action.description) + "</description>\n"
        "\t<range></range>\n"
        "\t<patterns>*</patterns>\n";
    if (action.forFolders)
        block += "\t<directories/>\n";
    if (action.forFiles)
        block += "\t<audio-files/>\n\t<image-files/>\n\t<other-files/>\n\t<text-files/>\n\t<video-files/>\n";
    block += "</action>\n";
    return block;
}

bool isOurScript(const QString& path)
{
    QFile file(path);
    if (QFileInfo(path).isSymLink() || !file.open(QIODevice::ReadOnly))
        return false;
    return file.read(4096).contains(kScriptMarker);
}

bool writeWhole(const QString& path, const QByteArray& contents, TFileManagerReport& report)
{
    QSaveFile out(path);
    if (out.open(QIODevice::WriteOnly) && out.write(contents) == contents.size() && out.commit())
        return true;
    report.problems << QStringLiteral("cannot write \"%1\": %2").arg(path, out.errorString());
    return false;
}

std::optional<QByteArray> readWhole(const QString& path, TFileManagerReport& report)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        report.problems << QStringLiteral("cannot read \"%1\": %2").arg(path, file.errorString());
        return std::nullopt;
    }
    return file.readAll();
}

void changeThunarActions(const TFileManagerPlaces& places, bool install, TFileManagerReport& report)
{
    const QString& path = places.thunarActions;
    QByteArray before;
    if (QFileInfo::exists(path)) {
        std::optional<QByteArray> text = readWhole(path, report);
        if (!text)
            return;
        before = *text;
    } else if (!install) {
        return;
    } else if (!places.thunarSystemActions.isEmpty() && QFileInfo::exists(places.thunarSystemActions)) {
        std::optional<QByteArray> text = readWhole(places.thunarSystemActions, report);
        if (!text)
            return;
        before = *text;
    } else {
        before = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<actions>\n</actions>\n";
    }
    const std::optional<QByteArray> after = thunarActionsWithOurs(before, install);
    if (!after) {
        report.problems << QStringLiteral("\"%1\" is not a list of Thunar actions; left unchanged").arg(path);
        return;
    }
    if (*after == before && QFileInfo::exists(path))
        return;
    if (!QDir().mkpath(QFileInfo(path).path())) {
        report.problems << QStringLiteral("cannot create the folder of \"%1\"").arg(path);
        return;
    }
    if (writeWhole(path, *after, report))
        report.changed << path;
}

}  // namespace

const std::vector<TFileManagerAction>& fileManagerActions()
{
    static const std::vector<TFileManagerAction> actions = {
        {"hash", "Hash", "Compute the hashes of the selected files", true, false},
        {"duplicates", "Find Duplicates", "Look for duplicates among the selected files", true, false},
        {"shred", "Shred", "Overwrite and delete the selected files", true, false},
        {"attributes", "Change Attributes", "Change the attributes of the selected files and folders", true, true},
        {"datetime", "Change Date/Time", "Change the date and time stamps of the selected files and folders", true, true},
        {"hidden", "Reveal Hidden", "Reveal the hidden files in the selected folder", false, true},
        {"folder-icon", "Folder Icon", "Change the icon of the selected folders", false, true},
    };
    return actions;
}

TFileManagerPlaces fileManagerPlaces()
{
    TFileManagerPlaces places;
    places.nautilusScripts = xdgDir("XDG_DATA_HOME", ".local/share") + QStringLiteral("/nautilus/scripts");
    places.thunarActions = xdgDir("XDG_CONFIG_HOME", ".config") + QStringLiteral("/Thunar/uca.xml");
    QString configDirs = qEnvironmentVariable("XDG_CONFIG_DIRS");
    if (configDirs.isEmpty())
        configDirs = QStringLiteral("/etc/xdg");
    for (const QString& dir : configDirs.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        const QString candidate = dir + QStringLiteral("/Thunar/uca.xml");
        if (QDir::isAbsolutePath(dir) && QFileInfo::exists(candidate)) {
            places.thunarSystemActions = candidate;
            break;
        }
    }
    return places;
}

std::optional<QByteArray> thunarActionsWithOurs(const QByteArray& text, bool install)
{
    if (!text.contains("<actions"))
        return std::nullopt;
    QByteArray out = text;
    static const QByteArray open("<action>"), close("</action>");
    qsizetype from = 0;
    for (qsizetype start; (start = out.indexOf(open, from)) >= 0;) {
        qsizetype end = out.indexOf(close, start);
        if (end < 0)
            return std::nullopt;
        end += close.size();
        if (!out.mid(start, end - start).contains(kThunarIdPrefix)) {
            from = end;
            continue;
        }
        // The entry goes with its indentation and its line end.
        while (start > 0 && (out[start - 1] == ' ' || out[start - 1] == '\t'))
            --start;
        if (end < out.size() && out[end] == '\r')
            ++end;
        if (end < out.size() && out[end] == '\n')
            ++end;
        out.remove(start, end - start);
        from = start;
    }
    const qsizetype listEnd = out.lastIndexOf("</actions>");
    if (listEnd < 0)
        return std::nullopt;
    if (install) {
        QByteArray ours;
        for (const TFileManagerAction& action : fileManagerActions())
            ours += thunarBlock(action);
        // Ours start on a line of their own, before the list's end.
        if (listEnd > 0 && out[listEnd - 1] != '\n')
            ours.prepend('\n');
        out.insert(listEnd, ours);
    }
    return out;
}

TFileManagerReport installFileManagerActions(const TFileManagerPlaces& places)
{
    TFileManagerReport report;
    if (!QDir().mkpath(places.nautilusScripts)) {
        report.problems << QStringLiteral("cannot create \"%1\"").arg(places.nautilusScripts);
    } else {
        for (const TFileManagerAction& action : fileManagerActions()) {
            const QString path = places.nautilusScripts + QLatin1Char('/') + scriptName(action);
            const QFileInfo info(path);
            if ((info.exists() || info.isSymLink()) && !isOurScript(path)) {
                report.problems << QStringLiteral("\"%1\" is not Korvala's; left as it is").arg(path);
                continue;
            }
            if (!writeWhole(path, nautilusScript(action), report))
                continue;
            QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                            QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                                            QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                            QFileDevice::ExeOther);
            report.changed << path;
        }
    }
    changeThunarActions(places, true, report);
    return report;
}

TFileManagerReport removeFileManagerActions(const TFileManagerPlaces& places)
{
    TFileManagerReport report;
    for (const TFileManagerAction& action : fileManagerActions()) {
        const QString path = places.nautilusScripts + QLatin1Char('/') + scriptName(action);
        if (!isOurScript(path))
            continue;
        if (QFile::remove(path))
            report.changed << path;
        else
            report.problems << QStringLiteral("cannot remove \"%1\"").arg(path);
    }
    changeThunarActions(places, false, report);
    return report;
}

std::optional<int> runFileManagerActionsOption(int argc, char** argv)
{
    const char* const installOption = "--install-file-manager-actions";
    const char* const removeOption = "--remove-file-manager-actions";
    bool wanted = false;
    for (int i = 1; i < argc; ++i)
        wanted = wanted || std::strcmp(argv[i], installOption) == 0 || std::strcmp(argv[i], removeOption) == 0;
    if (!wanted)
        return std::nullopt;
    if (argc != 2) {
        std::fprintf(stderr, "usage: korvala %s | %s\n", installOption, removeOption);
        return 2;
    }
    const bool install = std::strcmp(argv[1], installOption) == 0;
    const TFileManagerPlaces places = fileManagerPlaces();
    const TFileManagerReport report =
        install ? installFileManagerActions(places) : removeFileManagerActions(places);
    for (const QString& path : report.changed)
        std::printf("%s %s\n", install ? "written" : "removed", qPrintable(path));
    for (const QString& problem : report.problems)
        std::fprintf(stderr, "korvala: %s\n", qPrintable(problem));
    return report.problems.isEmpty() ? 0 : 1;
}
