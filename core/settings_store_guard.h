#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Keeps the platform's settings store of an organisation and application from stopping the
// program. The settings class opens and reads the store's files as a settings object is made and
// writes them without asking what is there: a FIFO in a file's place keeps it waiting for a writer
// for ever, a device may be read without end, a FIFO or a folder in place of the lock file keeps
// it waiting or retrying for ever, and a write through a link would put a regular file in place
// of the node the link names. So the store's files, where settings objects find them now (the
// application's and the organisation's, in the user's and the system's folders, wherever the
// platform or QSettings::setPath put them) and the lock file beside the one written, are looked
// at by the regular-file rule. When any of them is neither a regular file nor nothing (a folder,
// a FIFO, a socket, a device, a loop of links), the store moves aside for the rest of the run:
// every settings object of the process then uses a folder of the guard's own, empty at start and
// holding what the program last read or wrote when the move comes later, so that the program
// keeps changes until it ends and never opens or replaces the user's nodes. What was found is
// said in one line on the console.
//
// The program looks once at start, before anything reads a setting, and every settings object
// looks again as it is made and before it writes (StoredSettings).
namespace SettingsStoreGuard {

// The store's files where settings objects of the organisation and application find them now,
// in the order in which a value is looked for: the application's file of the user (the one
// written), the organisation's file of the user, then the same two in each system folder.
QStringList files(const QString& organisation, const QString& application);

// Looks at the store's files and the lock file; when something other than a regular file or
// nothing stands in place of one, moves the store aside and says so on the console, in the words
// of a start (the program starts with its default settings) or of a running program (which goes
// on with the settings it holds: what it last read from or wrote to each file goes with the
// store). False when the store moved.
bool look(const QString& organisation, const QString& application, bool atStart = false);

// Keeps what the process last read from or wrote to a file of the store, to go with the store
// when it moves aside.
void remember(const QString& file, const QByteArray& contents);

} // namespace SettingsStoreGuard
