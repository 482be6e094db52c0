#pragma once

#include <QByteArray>
#include <QString>

// What the workbench remembers between runs, in the user's settings under
// the application's organisation and name.
namespace WorkbenchSettings {

// The language to start in: the one given on the command line, else the one
// the user last chose in the program, else English.
QString startLanguage(const QString& commandLine);
void rememberLanguage(const QString& language);

// The main window's geometry and the state of its docks, as QMainWindow
// saves them; empty when nothing is remembered.
QByteArray geometry();
QByteArray windowState();
void rememberLayout(const QByteArray& geometry, const QByteArray& windowState);
void forgetLayout();

} // namespace WorkbenchSettings
