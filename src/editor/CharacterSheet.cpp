#include "editor/CharacterSheet.h"

#include "editor/Page.h"
#include "editor/Pages.h"

#include "character/Character.h"
#include "rules/RulesDatabase.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeySequence>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QStyle>

namespace {
// Largest sheet size seen in this run; both zero until the first window was bound.
QSize g_sheetSizeForRun;

// What the sheet's size depends on: the program, Qt's style and font, the screen's resolution
// and the data files (lists and boxes size themselves to their entries). A size measured
// under the same stays valid from one run to the next, so a window opens without first
// building every page to measure it.
QString SizeFingerprint(const QWidget& sheet, const QString& dataDirectory) {
    QCryptographicHash hash(QCryptographicHash::Sha1);
    const auto add = [&hash](const QString& text) {
        hash.addData(text.toUtf8());
        hash.addData(QByteArrayView("\n", 1));
    };
    const QFileInfo program(QCoreApplication::applicationFilePath());
    add(program.absoluteFilePath());
    add(QString::number(program.size()));
    add(program.lastModified().toString(Qt::ISODateWithMs));
    add(QString::fromLatin1(qVersion()));
    add(sheet.style()->name());
    add(sheet.font().toString());
    add(QApplication::font().toString());
    if (const QScreen* screen = sheet.screen()) {
        add(QString::number(screen->logicalDotsPerInch()));
        add(QString::number(screen->devicePixelRatio()));
    }
    add(qEnvironmentVariable("QT_SCALE_FACTOR"));
    const QDir data(dataDirectory);
    add(data.absolutePath());
    for (const QFileInfo& file : data.entryInfoList(QDir::Files, QDir::Name)) {
        add(file.fileName());
        add(QString::number(file.size()));
        add(file.lastModified().toString(Qt::ISODateWithMs));
    }
    return QString::fromLatin1(hash.result().toHex());
}

const char* const kSizeKey = "CharacterSheet/size";
const char* const kSizeForKey = "CharacterSheet/sizeFor";

// The tab texts of CreateCharacterPage's pages, known before the pages are built.
const char* const kPageCaptions[CharacterPageCount] = {"Character", "Attributes", "Discipline",
                                                       "Talents",   "Skills",     "Equipment",
                                                       "Grimoire",  "System"};
} // namespace

QSize NaturalSheetSize(CMyPropertySheet& sheet) {
    QSize largest(0, 0);
    for (int tab = sheet.GetPageCount() - 1; tab >= 0; --tab) {
        QWidget* widget = sheet.GetPage(tab);
        if (auto* page = qobject_cast<CVARN_Page*>(widget))
            largest = largest.expandedTo(page->ComputeNaturalSize());
        else if (widget != nullptr)
            largest = largest.expandedTo(widget->sizeHint());
    }
    // The tab widget's own hint is the largest page plus the tab strip and the frame
    // around the pages, which is the room the window has to give it.
    sheet.ensurePolished();
    QSize size = sheet.sizeHint().expandedTo(sheet.minimumSizeHint());
    return size.expandedTo(largest);
}

CVARN_CharacterSheet::CVARN_CharacterSheet(QWidget* parent) : CMyPropertySheet("VARN", parent) {
    // Shortcuts, not key handling in the sheet: the lists and text panes of the pages would
    // take these keys for themselves before the sheet saw them.
    const auto key = [this](const QKeySequence& sequence, auto action) {
        auto* shortcut = new QShortcut(sequence, this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, action);
    };
    key(QKeySequence(Qt::CTRL | Qt::Key_PageDown), [this] { StepPage(1); });
    key(QKeySequence(Qt::CTRL | Qt::Key_PageUp), [this] { StepPage(-1); });
    for (int tab = 0; tab < CharacterPageCount; ++tab)
        key(QKeySequence(Qt::ALT | Qt::Key(Qt::Key_1 + tab)), [this, tab] { SetActivePage(tab); });
}

void CVARN_CharacterSheet::StepPage(int step) {
    const int pages = GetPageCount();
    if (pages > 0)
        SetActivePage(((GetActivePageIndex() + step) % pages + pages) % pages);
}

void CVARN_CharacterSheet::CreatePages(const PageFactory& factory) {
    if (!factory) {
        for (int tab = 0; tab < CharacterPageCount; ++tab) {
            AddPage(
                [this, tab]() -> QWidget* {
                    std::unique_ptr<CVARN_Page> page = CreateCharacterPage(tab);
                    if (page && m_bound) {
                        page->Bind(m_character);
                        page->RefreshFromCharacter();
                    }
                    return page.release();
                },
                QString::fromLatin1(kPageCaptions[tab]));
        }
        EnableStackedTabs(true);
        return;
    }
    for (int tab = 0; tab < CharacterPageCount; ++tab) {
        std::unique_ptr<CVARN_Page> page = factory(tab);
        if (!page)
            continue;
        const QString caption = page->Caption();
        AddPage(page.release(), caption);
    }
    EnableStackedTabs(true);
}

void CVARN_CharacterSheet::BindPages(CVARN_Character* character) {
    m_character = character;
    for (int tab = GetPageCount() - 1; tab >= 0; --tab) {
        if (CVARN_Page* page = BuiltPage(tab)) {
            page->Bind(character);
            page->RefreshFromCharacter();
        }
    }
    m_bound = true;
}

QSize CVARN_CharacterSheet::SheetSizeForRun() {
    if (g_sheetSizeForRun.width() > 0 && g_sheetSizeForRun.height() > 0)
        return g_sheetSizeForRun;
    // The eight pages of a bound sheet: the size of an earlier run under the same conditions.
    // (A sheet whose pages are all built measures them at once.)
    bool allBuilt = true;
    for (int tab = 0; tab < GetPageCount(); ++tab)
        allBuilt = allBuilt && GetBuiltPage(tab) != nullptr;
    QString fingerprint;
    if (!allBuilt && m_character != nullptr) {
        fingerprint =
            SizeFingerprint(*this, QFile::decodeName(m_character->Rules().dataDirectory.c_str()));
        const QSettings settings;
        const QSize stored = settings.value(kSizeKey).toSize();
        if (settings.value(kSizeForKey).toString() == fingerprint && stored.isValid() &&
            !stored.isEmpty()) {
            g_sheetSizeForRun = stored;
            return g_sheetSizeForRun;
        }
    }
    const int active = GetActivePageIndex();
    g_sheetSizeForRun = NaturalSheetSize(*this);
    SetActivePage(active);
    if (!fingerprint.isEmpty()) {
        QSettings settings;
        settings.setValue(kSizeKey, g_sheetSizeForRun);
        settings.setValue(kSizeForKey, fingerprint);
    }
    return g_sheetSizeForRun;
}

void CVARN_CharacterSheet::ForgetSheetSizeForRun() {
    g_sheetSizeForRun = QSize();
}

void CVARN_CharacterSheet::NotifyPages(int hint, CVARN_CharEquip* object) {
    for (int tab = GetPageCount() - 1; tab >= 0; --tab) {
        CVARN_Page* page = BuiltPage(tab);
        if (page != nullptr && page->IsInitialised())
            page->OnCharacterUpdate(hint, object);
    }
}

void CVARN_CharacterSheet::RestorePages() {
    for (int tab = GetPageCount() - 1; tab >= 0; --tab) {
        CVARN_Page* page = BuiltPage(tab);
        if (page != nullptr && page->IsInitialised())
            page->OnCharacterRestored();
    }
}

CVARN_Page* CVARN_CharacterSheet::Page(int tab) const {
    return qobject_cast<CVARN_Page*>(GetPage(tab));
}

CVARN_Page* CVARN_CharacterSheet::BuiltPage(int tab) const {
    return qobject_cast<CVARN_Page*>(GetBuiltPage(tab));
}
