#include "PasswordSheet.h"

#include "CryptoModule.h"
#include "NotesFile.h"
#include "ProtectedKey.h"
#include "QOR_StringUtils.h"
#include "QOR_WindowsUtils.h"
#include "WindowFocus.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString text(const char *key)
{
    return QOR_StringUtils::getLocalizedStringForKey(QString::fromLatin1(key));
}

std::optional<QString> runSheet(QWidget *window, const QString &name, const char *prompt)
{
    QDialog sheet(window);
    sheet.setObjectName(name);
    sheet.setWindowTitle(text("PasswordSheetTitle"));
    sheet.setWindowModality(window ? Qt::WindowModal : Qt::ApplicationModal);
    auto *layout = new QVBoxLayout(&sheet);
    auto *label = new QLabel(text(prompt), &sheet);
    label->setObjectName(QStringLiteral("PasswordPrompt"));
    label->setWordWrap(true);
    auto *field = new QLineEdit(&sheet);
    field->setObjectName(QStringLiteral("PasswordField"));
    field->setEchoMode(QLineEdit::Password);
    field->setMinimumWidth(280);
    label->setBuddy(field);
    auto *buttons = new QDialogButtonBox(&sheet);
    buttons->addButton(text("OKButton"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(text("CancelButton"), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &sheet, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &sheet, &QDialog::reject);
    layout->addWidget(label);
    layout->addWidget(field);
    layout->addWidget(buttons);
    field->setFocus();
    WindowFocus::bringToFront(&sheet);
    const bool confirmed = sheet.exec() == QDialog::Accepted;
    QString password = field->text();
    // The field lets go of its text, so that the one copy left is ours to wipe.
    field->clear();
    if (!confirmed) {
        ProtectedKey::wipe(password);
        return std::nullopt;
    }
    return password;
}

} // namespace

std::optional<QString> PasswordSheet::ask(QWidget *window, bool firstTime)
{
    return runSheet(window, QStringLiteral("PasswordSheet"),
                    firstTime ? "PasswordChooseText" : "PasswordSheetText");
}

std::optional<QString> PasswordSheet::askAgain(QWidget *window)
{
    return runSheet(window, QStringLiteral("PasswordAgainSheet"), "PasswordAgainText");
}

void PasswordSheet::showWrongPassword(QWidget *window, bool critical)
{
    if (critical)
        QOR_WindowsUtils::modalCriticalAlertForWindow(window, text("UncorrectPasswordTitle"),
                                                      text("UncorrectPasswordText"),
                                                      text("OKButton"), {}, {});
    else
        QOR_WindowsUtils::modalAlertForWindow(window, text("UncorrectPasswordTitle"),
                                              text("UncorrectPasswordText"), text("OKButton"), {},
                                              {});
}

void PasswordSheet::showDamagedNotes(QWidget *window, int count)
{
    QOR_WindowsUtils::modalAlertForWindow(window, text("ProtectedNotesDamagedTitle"),
                                          QOR_StringUtils::getLocalizedStringForCount(
                                              QStringLiteral("ProtectedNotesDamagedText"), count),
                                          text("OKButton"), {}, {});
}

void PasswordSheet::showPasswordsDiffer(QWidget *window, bool critical)
{
    if (critical)
        QOR_WindowsUtils::modalCriticalAlertForWindow(window, text("PasswordsDifferTitle"),
                                                      text("PasswordsDifferText"), text("OKButton"),
                                                      {}, {});
    else
        QOR_WindowsUtils::modalAlertForWindow(window, text("PasswordsDifferTitle"),
                                              text("PasswordsDifferText"), text("OKButton"), {},
                                              {});
}

void PasswordSheet::showUnavailable(QWidget *window, bool critical)
{
    if (critical)
        QOR_WindowsUtils::modalCriticalAlertForWindow(
            window, text("ProtectedNotesUnavailableTitle"), text("ProtectedNotesUnavailableText"),
            text("OKButton"), {}, {});
    else
        QOR_WindowsUtils::modalAlertForWindow(window, text("ProtectedNotesUnavailableTitle"),
                                              text("ProtectedNotesUnavailableText"),
                                              text("OKButton"), {}, {});
}

void PasswordSheet::showKeptAside(QWidget *window, const QString &path)
{
    QOR_WindowsUtils::modalAlertForWindow(window, text("ProtectedNotesKeptAsideTitle"),
                                          text("ProtectedNotesKeptAsideText").arg(path),
                                          text("OKButton"), {}, {});
}

PasswordSheet::Outcome PasswordSheet::unlock(QWidget *window, NotesFile &file, QVariantList &notes,
                                             bool critical)
{
    // Said before a password is typed for nothing; loading the module maps libcrypto.
    if (file.kind() == NotesFile::Kind::ProtectedNotes && !CryptoModule::isAvailable()) {
        file.lock();
        notes.clear();
        showUnavailable(window, critical);
        return Outcome::Refused;
    }
    std::optional<QString> password =
        ask(window, file.kind() == NotesFile::Kind::ProtectedNotes && !file.hasPassword());
    if (!password)
        return Outcome::Cancelled;
    const NotesFile::Status status = file.unlock(*password, notes);
    ProtectedKey::wipe(*password);
    if (status == NotesFile::Status::Unavailable) {
        showUnavailable(window, critical);
        return Outcome::Refused;
    }
    if (status == NotesFile::Status::WrongPassword) {
        showWrongPassword(window, critical);
        return Outcome::Refused;
    }
    if (!file.isUnlocked())
        return Outcome::Refused; // an empty password
    if (file.awaitsConfirmation()) {
        std::optional<QString> again = askAgain(window);
        const bool same = again && file.confirmPassword(*again);
        if (again)
            ProtectedKey::wipe(*again);
        if (!same) {
            file.lock();
            notes.clear();
            if (again)
                showPasswordsDiffer(window, critical);
            return Outcome::Refused;
        }
    }
    if (status == NotesFile::Status::Damaged)
        showDamagedNotes(window, file.damagedNotes());
    return Outcome::Unlocked;
}
