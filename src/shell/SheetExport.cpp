#include "shell/SheetExport.h"

#include "character/CharacterFile.h"
#include "character/CharacterJson.h"
#include "character/HtmlSheet.h"
#include "shell/CharacterDocument.h"
#include "shell/DocumentManager.h"
#include "shell/MainWindow.h"
#include "shell/QtPrompt.h"
#include "shell/SheetLayout.h"
#include "widgets/QtText.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QLocale>
#include <QMenu>
#include <QPageSize>

namespace {

struct ExportType {
    ExportKind kind;
    const char* command;
    const char* filter;
    const char* suffix;
};

constexpr ExportType kTypes[] = {
    {ExportKind::SheetPdf, "Character sheet (PDF)", "PDF File (*.pdf)", "pdf"},
    {ExportKind::SheetHtml, "Character sheet (HTML)", "HTML File (*.html *.htm)", "html"},
    {ExportKind::Json, "Character (JSON)", "JSON File (*.json)", "json"},
};

// US Letter where the user's locale prints on it, A4 everywhere else.
QPageSize::PageSizeId LocalPaper() {
    const QLocale::Territory t = QLocale().territory();
    return (t == QLocale::UnitedStates || t == QLocale::Canada || t == QLocale::Mexico)
               ? QPageSize::Letter
               : QPageSize::A4;
}

void AskAndExport(MainWindow& frame, const ExportType& type) {
    CharacterDocument* doc = frame.activeDocument();
    if (doc == nullptr)
        return;
    QString name = doc->filePath().isEmpty() ? doc->title() : doc->filePath();
    const QFileInfo info(name);
    name = (info.isAbsolute() ? info.absolutePath() + QLatin1Char('/') : QString()) +
           info.completeBaseName() + QLatin1Char('.') + QLatin1String(type.suffix);
    QFileDialog dialog(&frame, QString::fromLatin1(type.command), name,
                       QString::fromLatin1(type.filter));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QLatin1String(type.suffix));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    ExportDocument(*doc, type.kind, dialog.selectedFiles().front());
}

} // namespace

bool ExportDocument(CharacterDocument& doc, ExportKind kind, const QString& path) {
    if (kind == ExportKind::SheetPdf) {
        QString error;
        if (WriteSheetPdf(doc.character(), path, LocalPaper(), &error))
            return true;
        doc.manager().prompt().warn(error);
        return false;
    }
    const std::string bytes = kind == ExportKind::Json ? CharacterToJson(doc.character())
                                                       : BuildHtmlSheet(doc.character());
    const std::string target = QFile::encodeName(path).toStdString();
    const CVARN_FileFailure failure = WriteFileBytes(target, bytes);
    if (failure == CVARN_FileFailure::None)
        return true;
    doc.manager().prompt().warn(FromCore(FileFailureText(failure, target)));
    return false;
}

QMenu* CreateExportMenu(MainWindow& frame) {
    auto* menu = new QMenu(QStringLiteral("&Export"), &frame);
    for (const ExportType& type : kTypes) {
        QAction* action = menu->addAction(QString::fromLatin1(type.command));
        QObject::connect(action, &QAction::triggered, &frame,
                         [&frame, &type] { AskAndExport(frame, type); });
    }
    return menu;
}
