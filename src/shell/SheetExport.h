#pragma once

#include <QString>

class QMenu;
class QWidget;
class CharacterDocument;
class MainWindow;

// File > Export: the character's laid-out sheet as PDF or HTML, or the character as JSON.
// An export writes a new file and leaves the document as it is (its path, title and
// modified mark do not change).
enum class ExportKind { SheetPdf, SheetHtml, Json };

// Writes the export to `path`. Failures are reported through the document's message boxes.
bool ExportDocument(CharacterDocument& doc, ExportKind kind, const QString& path);

// The Export submenu for the main window's File menu; its commands act on the document of
// the current window.
QMenu* CreateExportMenu(MainWindow& frame);
