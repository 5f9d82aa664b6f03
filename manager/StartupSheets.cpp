#include "StartupSheets.h"

#include "QOR_StringUtils.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

QString localized(const QString &key)
{
    return QOR_StringUtils::getLocalizedStringForKey(key);
}

} // namespace

QString AgreementSheet::licenceText()
{
    // Built into the program, so the sheet never shows without it.
    QFile file(QStringLiteral(":/LICENSE"));
    if (file.open(QIODevice::ReadOnly))
        return QString::fromUtf8(file.readAll());
    return QStringLiteral("GNU General Public License, version 3 or later: "
                          "https://www.gnu.org/licenses/gpl-3.0.html");
}

AgreementSheet::AgreementSheet(const QString &licenceText, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(localized(QStringLiteral("AgreementTitle")));
    setObjectName(QStringLiteral("licenseWindow"));
    setMinimumSize(350, 251);
    setMaximumSize(750, 10000);
    resize(560, 480);
    auto *note = new QLabel(localized(QStringLiteral("AgreementNote")));
    note->setWordWrap(true);
    auto *text = new QTextBrowser;
    text->setPlainText(licenceText);
    text->setObjectName(QStringLiteral("licence"));
    auto *buttons = new QDialogButtonBox;
    buttons->addButton(localized(QStringLiteral("AgreementAccept")), QDialogButtonBox::AcceptRole);
    buttons->addButton(localized(QStringLiteral("AgreementDecline")), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addWidget(text, 1);
    layout->addWidget(buttons);
}

AboutBox::AboutBox(const QString &version, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(localized(QStringLiteral("AboutTitle")));
    setObjectName(QStringLiteral("aboutBoxWindow"));
    setMinimumSize(200, 300);
    setMaximumSize(650, 650);
    auto *icon = new QLabel;
    icon->setPixmap(QApplication::windowIcon().pixmap(64, 64));
    icon->setAlignment(Qt::AlignCenter);
    auto *name = new QLabel(QStringLiteral("<h2>Korvale</h2>"));
    name->setAlignment(Qt::AlignCenter);
    auto *line = new QLabel(localized(QStringLiteral("AboutVersion")).arg(version));
    line->setAlignment(Qt::AlignCenter);
    auto *note = new QLabel(localized(QStringLiteral("AgreementNote")));
    note->setWordWrap(true);
    note->setAlignment(Qt::AlignCenter);
    // Each rich text under its title, the ones the tables lack left out.
    auto *texts = new QTabWidget;
    texts->setObjectName(QStringLiteral("aboutTexts"));
    const QList<QPair<QString, QString>> pages = {
        {KORVALE_KEY("Credits"), KORVALE_KEY("CreditsText")},
        {KORVALE_KEY("NewInVersion"), KORVALE_KEY("NewInVersionText")},
        {KORVALE_KEY("QuickHelp"), KORVALE_KEY("QuickHelpText")},
    };
    for (const auto &[title, key] : pages) {
        const QString html = localized(key);
        if (html.isEmpty() || html == key)
            continue;
        auto *text = new QTextBrowser;
        text->setObjectName(title);
        text->setOpenExternalLinks(true);
        text->setHtml(html);
        texts->addTab(text, localized(title));
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(icon);
    layout->addWidget(name);
    layout->addWidget(line);
    layout->addWidget(note);
    layout->addWidget(texts, 1);
    layout->addWidget(buttons);
    resize(460, 560);
}

TourWindow::TourWindow(QWidget *parent)
    : QDialog(parent)
    , mPages(new QStackedWidget)
    , mBack(new QPushButton(localized(QStringLiteral("TourBack"))))
    , mNext(new QPushButton)
{
    setWindowTitle(localized(QStringLiteral("TourTitle")));
    setObjectName(QStringLiteral("quickTourWindow"));
    const QList<QPair<QString, QString>> pages = {
        {QStringLiteral("tour-open.png"), KORVALE_KEY("TourPage1")},
        {QStringLiteral("tour-type.png"), KORVALE_KEY("TourPage2")},
        {QStringLiteral("tour-menu.png"), KORVALE_KEY("TourPage3")},
    };
    for (const auto &[name, key] : pages) {
        const QString image = picturePath(name);
        auto *page = new QWidget;
        auto *picture = new QLabel;
        picture->setPixmap(
            QPixmap(image).scaled(520, 360, Qt::KeepAspectRatio, Qt::SmoothTransformation));
        picture->setAlignment(Qt::AlignCenter);
        auto *text = new QLabel(localized(key));
        text->setWordWrap(true);
        text->setAlignment(Qt::AlignCenter);
        auto *layout = new QVBoxLayout(page);
        layout->addWidget(picture, 1);
        layout->addWidget(text);
        mPages->addWidget(page);
    }
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(mBack);
    buttons->addWidget(mNext);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(mPages, 1);
    layout->addLayout(buttons);
    connect(mBack, &QPushButton::clicked, this, [this] { showPage(currentPage() - 1); });
    connect(mNext, &QPushButton::clicked, this, [this] {
        if (currentPage() + 1 < pageCount())
            showPage(currentPage() + 1);
        else
            accept();
    });
    mNext->setDefault(true);
    showPage(0);
}

QString TourWindow::picturePath(const QString &name)
{
    // The pictures show the windows in the language of the text beside them.
    const QString language = QOR_StringUtils::getLocalizedStringForKeyTable(
        QStringLiteral("StringUtils_LanguageLocal"), QOR_StringUtils::LibraryTable);
    const QString path = QStringLiteral(":/tour/%1/%2").arg(language, name);
    return QFile::exists(path) ? path : QStringLiteral(":/tour/en/%1").arg(name);
}

int TourWindow::pageCount() const
{
    return mPages->count();
}

int TourWindow::currentPage() const
{
    return mPages->currentIndex();
}

void TourWindow::showPage(int page)
{
    if (page < 0 || page >= pageCount())
        return;
    mPages->setCurrentIndex(page);
    mBack->setEnabled(page > 0);
    mNext->setText(localized(page + 1 < pageCount() ? QStringLiteral("TourNext")
                                                    : QStringLiteral("TourDone")));
}
