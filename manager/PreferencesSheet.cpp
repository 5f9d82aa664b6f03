#include "PreferencesSheet.h"

#include "QOR_StringUtils.h"
#include "SharedPreferences.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QString localized(const QString &key)
{
    return QOR_StringUtils::getLocalizedStringForKey(key);
}

const QString KeyRevealCursor = QStringLiteral("RevealCursor");
constexpr int PriorityLimit = 100;

} // namespace

PreferencesSheet::PreferencesSheet(QWidget *parent)
    : QDialog(parent)
    , mRevealCursor(new QComboBox)
{
    setWindowTitle(localized(QStringLiteral("PreferencesTitle")));
    setWindowModality(Qt::WindowModal);
    // The boxes with the agent's defaults, in the order they are written.
    struct Box {
        QString key;
        QString label;
        bool initial;
    };
    const QList<Box> boxes = {
        {QStringLiteral("CenterAccessWindow"), KORVALE_KEY("PreferencesCenterAccessWindow"), false},
        {QStringLiteral("ResetFilter"), KORVALE_KEY("PreferencesResetFilter"), true},
        {QStringLiteral("ControlClickInMenuBar"), KORVALE_KEY("PreferencesControlClickInMenuBar"),
         true},
        {QStringLiteral("ShowIconInPopupMenus"), KORVALE_KEY("PreferencesShowIconInPopupMenus"),
         true},
        {QStringLiteral("ShowKeysDetection"), KORVALE_KEY("PreferencesShowKeysDetection"), false},
        {QStringLiteral("ShowKeysDetectionAuto"), KORVALE_KEY("PreferencesShowKeysDetectionAuto"),
         true},
    };
    const auto addBox = [this](QVBoxLayout *group, const Box &box) {
        auto *check = new QCheckBox(localized(box.label));
        check->setObjectName(box.key);
        check->setChecked(box.initial);
        mDefaultBoxes.insert(box.key, box.initial);
        group->addWidget(check);
        mBoxes.append({box.key, check});
        return check;
    };
    auto *window = new QVBoxLayout;
    for (const Box &box : boxes)
        addBox(window, box);
    auto *windowGroup = new QGroupBox(localized(QStringLiteral("PreferencesWindow")));
    windowGroup->setLayout(window);

    // Switched off, the agent takes no more samples; what it recorded stays for the report.
    auto *activity = new QVBoxLayout;
    addBox(activity,
           {QStringLiteral("RecordApplicationsUse"),
            KORVALE_KEY("PreferencesRecordApplicationsUse"), true})
        ->setToolTip(localized(QStringLiteral("PreferencesRecordApplicationsUseTip")));
    auto *activityGroup = new QGroupBox(localized(QStringLiteral("PreferencesActivity")));
    activityGroup->setLayout(activity);

    // Rows the agent computes from the query (docs/answers.md), each family switched on its own.
    auto *answers = new QVBoxLayout;
    const QList<Box> families = {
        {QStringLiteral("AnswersCalculator"), KORVALE_KEY("PreferencesAnswersCalculator"), true},
        {QStringLiteral("AnswersWebKeywords"), KORVALE_KEY("PreferencesAnswersWebKeywords"), true},
        {QStringLiteral("AnswersSystemActions"), KORVALE_KEY("PreferencesAnswersSystemActions"),
         true},
        {QStringLiteral("AnswersWindows"), KORVALE_KEY("PreferencesAnswersWindows"), true},
    };
    for (const Box &box : families)
        addBox(answers, box);
    auto *answersGroup = new QGroupBox(localized(QStringLiteral("PreferencesAnswers")));
    answersGroup->setLayout(answers);

    auto *ranking = new QFormLayout;
    const QList<QPair<QString, QString>> priorities = {
        {QStringLiteral("PriorityForApplications"), KORVALE_KEY("PreferencesPriorityApplications")},
        {QStringLiteral("PriorityForFiles"), KORVALE_KEY("PreferencesPriorityFiles")},
        {QStringLiteral("PriorityForBookmarks"), KORVALE_KEY("PreferencesPriorityBookmarks")},
        {QStringLiteral("PriorityForAddresses"), KORVALE_KEY("PreferencesPriorityAddresses")},
        {QStringLiteral("PriorityForNotes"), KORVALE_KEY("PreferencesPriorityNotes")},
    };
    for (const auto &[key, label] : priorities) {
        auto *field = new QSpinBox;
        field->setObjectName(key);
        field->setRange(-PriorityLimit, PriorityLimit);
        ranking->addRow(localized(label), field);
        mPriorities.append({key, field});
    }
    auto *rankingGroup = new QGroupBox(localized(QStringLiteral("PreferencesRanking")));
    rankingGroup->setLayout(ranking);

    for (const QString &key : {KORVALE_KEY("RevealCursorOff"), KORVALE_KEY("RevealCursorCtrl"),
                               KORVALE_KEY("RevealCursorAlt"), KORVALE_KEY("RevealCursorSuper")})
        mRevealCursor->addItem(localized(key));
    mRevealCursor->setObjectName(KeyRevealCursor);
    auto *pointer = new QFormLayout;
    pointer->addRow(localized(QStringLiteral("PreferencesRevealCursor")), mRevealCursor);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(windowGroup);
    layout->addWidget(activityGroup);
    layout->addWidget(answersGroup);
    layout->addWidget(rankingGroup);
    layout->addLayout(pointer);
    layout->addWidget(buttons);
}

void PreferencesSheet::load(const SharedPreferences &preferences)
{
    // A key never stored shows the agent's default, not what a cancelled sheet left behind.
    for (const auto &[key, box] : mBoxes) {
        const std::optional<int> value = SharedPreferences::integerOf(preferences.value(key));
        box->setChecked(value ? *value != 0 : mDefaultBoxes.value(key));
    }
    for (const auto &[key, field] : mPriorities)
        field->setValue(SharedPreferences::integerOf(preferences.value(key)).value_or(0));
    const int reveal = SharedPreferences::integerOf(preferences.value(KeyRevealCursor)).value_or(0);
    mRevealCursor->setCurrentIndex(reveal >= 0 && reveal < mRevealCursor->count() ? reveal : 0);
}

void PreferencesSheet::store(SharedPreferences &preferences) const
{
    for (const auto &[key, box] : mBoxes)
        preferences.setValue(key, box->isChecked() ? 1 : 0);
    for (const auto &[key, field] : mPriorities)
        preferences.setValue(key, field->value());
    preferences.setValue(KeyRevealCursor, mRevealCursor->currentIndex());
    preferences.synchronize();
}

bool PreferencesSheet::showKeysDetection() const
{
    return box(QStringLiteral("ShowKeysDetection"))->isChecked();
}

QCheckBox *PreferencesSheet::box(const QString &key) const
{
    for (const auto &[name, box] : mBoxes) {
        if (name == key)
            return box;
    }
    return nullptr;
}

QSpinBox *PreferencesSheet::priority(const QString &key) const
{
    for (const auto &[name, field] : mPriorities) {
        if (name == key)
            return field;
    }
    return nullptr;
}
