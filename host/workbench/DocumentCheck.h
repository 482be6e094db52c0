#pragma once

#include <QString>

// Why a plug-in's description document gives it no sensors, said for the
// user with the file and, where there is one, the line: the plug-in only
// hands the host an empty list. Empty when nothing is found wrong with it.
// The document is read as a stream, so no nesting or size of a broken file
// can exhaust the host's stack.
QString describeDocumentProblem(const QString& path, const QString& documentId);

// Where a plug-in's description document lies: the file named by the
// environment variable IOLINK_DESCRIPTION_DOCUMENT, or else the program's
// data file named after the plug-in (ExtensionSystem::dataFile).
QString descriptionDocumentOf(const QString& pluginName);
