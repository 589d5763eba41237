#pragma once
// The per-user settings: the registry-style keys "Software\Meridane" and
// "Software\Meridane\Support" kept by QSettings for the organisation
// "Meridane" (an INI file under the user's configuration folder here). The
// key "Software\Meridane" is the file's top level; a sub-key is a group.

#include <QString>

// The string value ValueName under Key; empty when the key or value is
// missing. A value that exists but is not text throws
// korvala::KorvalaError "Invalid data type for '<ValueName>'".
QString ReadUserString(const QString& key, const QString& valueName);
// Writes the string value and flushes it to disk; false when that failed.
bool WriteUserString(const QString& key, const QString& valueName, const QString& text);
// The settings file's path (for messages and tests).
QString userSettingsFile();
