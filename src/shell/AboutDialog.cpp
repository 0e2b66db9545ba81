#include "shell/AboutDialog.h"

#include "widgets/AccessibleNames.h"
#include "widgets/MyTabCtrl.h"
#include "widgets/VarnResources.h"

#include <QDesktopServices>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const char* const LegalUpper =
    "VARN - Mistreach Character Generator\n"
    "Copyright (C) the VARN authors.\n"
    "\n"
    "VARN is free software. You may use it, copy it and give it away, alone or together with "
    "data files of your own, as long as this notice stays with it.\n"
    "\n"
    "VARN is provided \"as is\", WITHOUT ANY WARRANTY of any kind, express or implied, "
    "including the warranties of merchantability and fitness for a particular purpose. The "
    "authors are not liable for any damage arising from its use, lost characters included: "
    "keep copies of the characters you care about.";

const char* const LegalLower =
    "The game's rules and content are not part of the program: they are read from the data "
    "files beside it. The data files shipped with VARN are examples written for it; the names "
    "and texts of any other data files belong to their authors.\n"
    "\n"
    "Please send bug reports, ideas and data files to the address on the button above.";

QPlainTextEdit* ReadOnlyBox(const QString& text, QWidget* parent) {
    auto* box = new QPlainTextEdit(text, parent);
    box->setReadOnly(true);
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    return box;
}

QWidget* MakeLegalPage(QWidget* parent) {
    auto* page = new QWidget(parent);
    auto* frame = new QGroupBox(page);
    auto* frameLayout = new QVBoxLayout(frame);
    QPlainTextEdit* upper = ReadOnlyBox(QString::fromUtf8(LegalUpper), frame);
    QPlainTextEdit* lower = ReadOnlyBox(QString::fromUtf8(LegalLower), frame);
    upper->setObjectName(QStringLiteral("legalUpper"));
    lower->setObjectName(QStringLiteral("legalLower"));
    frameLayout->addWidget(upper, 3);
    frameLayout->addWidget(lower, 2);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame);
    return page;
}

QWidget* MakeTipsPage(QWidget* parent) {
    auto* page = new QWidget(parent);
    auto* frame = new QGroupBox(QStringLiteral("Tips"), page);
    auto* notes = new QVBoxLayout;
    for (const char* note :
         {"* Don't forget arrow keys in talents page. You may choose talents and change ranks "
          "with them.",
          "* When you're in printing window, you may edit printed text, but be aware that your "
          "modifications won't be saved"}) {
        auto* label = new QLabel(QString::fromUtf8(note), frame);
        label->setWordWrap(true);
        notes->addWidget(label);
    }
    notes->addStretch(1);

    auto* pictureColumn = new QVBoxLayout;
    auto* picture = new QLabel(frame);
    picture->setObjectName(QStringLiteral("tipsPicture"));
    picture->setPixmap(QPixmap(QStringLiteral(":/pictures/tips.png")));
    picture->setAlignment(Qt::AlignCenter);
    auto* credit = new QLabel(QStringLiteral("Picture: the VARN team"), frame);
    credit->setAlignment(Qt::AlignCenter);
    QFont small = credit->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    credit->setFont(small);
    pictureColumn->addWidget(picture);
    pictureColumn->addWidget(credit);
    pictureColumn->addStretch(1);

    auto* frameLayout = new QHBoxLayout(frame);
    frameLayout->addLayout(notes, 1);
    frameLayout->addLayout(pictureColumn);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame);
    return page;
}

} // namespace

QString AboutDialog::versionText() {
    return QStringLiteral("Mistreach Character Generator, Version ") + QStringLiteral("1.3e");
}

QString AboutDialog::mailAddress() {
    return QStringLiteral("varn@example.org");
}

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    InitVarnResources();
    setWindowTitle(QStringLiteral("About VARN"));

    auto* icon = new QLabel(this);
    icon->setPixmap(QPixmap(QStringLiteral(":/icons/varn.png"))
                        .scaled(48, 48, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    auto* version = new QLabel(versionText(), this);
    version->setObjectName(QStringLiteral("versionText"));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    m_mail = new QPushButton(QStringLiteral("Mail To : ") + mailAddress(), this);
    m_mail->setAutoDefault(false);
    connect(m_mail, &QPushButton::clicked, this, [this] { sendMail(); });

    m_tabs = new CMyTabCtrl(this);
    m_tabs->addTab(QStringLiteral("Legal Stuff"));
    m_tabs->addTab(QStringLiteral("Tips"));
    m_tabs->setExpanding(false);

    // Both pages share one place under the tabs; only the current one is visible.
    auto* pageArea = new QWidget(this);
    auto* pageLayout = new QGridLayout(pageArea);
    pageLayout->setContentsMargins(4, 2, 4, 4);
    m_legal = MakeLegalPage(pageArea);
    m_tips = MakeTipsPage(pageArea);
    pageLayout->addWidget(m_legal, 0, 0);
    pageLayout->addWidget(m_tips, 0, 0);
    m_legal->hide();
    m_tips->hide();

    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    auto* texts = new QVBoxLayout;
    texts->addWidget(version);
    texts->addWidget(m_mail, 0, Qt::AlignLeft);
    top->addLayout(texts, 1);
    top->addWidget(ok, 0, Qt::AlignTop);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_tabs);
    layout->addWidget(pageArea, 1);
    layout->setSpacing(6);
    resize(500, 440);

    connect(m_tabs, &QTabBar::currentChanged, this, &AboutDialog::showPage);
    showPage(m_tabs->currentIndex());
    NameControls(this);
}

void AboutDialog::showPage(int index) {
    QWidget* page = index == 0 ? m_legal : index == 1 ? m_tips : nullptr;
    if (page == nullptr || page == m_current)
        return;
    if (m_current != nullptr)
        m_current->hide();
    m_current = page;
    m_current->show();
}

bool AboutDialog::openUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

bool AboutDialog::sendMail() {
    if (openUrl(QUrl(QStringLiteral("mailto:") + mailAddress())))
        return true;
    QMessageBox box(QMessageBox::Warning, QStringLiteral("VARN"),
                    QStringLiteral("Can not send email !"), QMessageBox::Ok, this);
    box.exec();
    return false;
}
