#include "PreferencesSheet.h"

#include "DesktopSearchPanel.h"
#include "QOR_StringUtils.h"
#include "SharedPreferences.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
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
    , mWebKeywords(new QTableWidget)
    , mDesktopSearch(new DesktopSearchPanel)
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
        // The only one off until the user turns it on: it goes on the network.
        {QStringLiteral("AnswersFetchExchangeRates"),
         KORVALE_KEY("PreferencesAnswersFetchExchangeRates"), false},
    };
    for (const Box &box : families)
        addBox(answers, box);
    // The web keywords: one row per keyword, its site's name and address.
    mWebKeywords->setObjectName(WebKeywordSites::PreferenceKey);
    mWebKeywords->setColumnCount(3);
    mWebKeywords->setHorizontalHeaderLabels({localized(QStringLiteral("PreferencesWebKeyword")),
                                             localized(QStringLiteral("PreferencesWebSite")),
                                             localized(QStringLiteral("PreferencesWebAddress"))});
    mWebKeywords->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    mWebKeywords->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    mWebKeywords->horizontalHeader()->setStretchLastSection(true);
    // An address on one line, and room for the three defaults and one more without scrolling.
    mWebKeywords->setWordWrap(false);
    mWebKeywords->setTextElideMode(Qt::ElideMiddle);
    mWebKeywords->setMinimumHeight(mWebKeywords->horizontalHeader()->sizeHint().height()
                                   + 4 * mWebKeywords->verticalHeader()->defaultSectionSize() + 4);
    mWebKeywords->verticalHeader()->hide();
    mWebKeywords->setToolTip(localized(QStringLiteral("PreferencesWebAddressTip")));
    answers->addWidget(mWebKeywords);
    auto *keywordButtons = new QHBoxLayout;
    auto *addKeyword = new QPushButton(localized(QStringLiteral("PreferencesWebKeywordAdd")));
    auto *removeKeyword = new QPushButton(localized(QStringLiteral("PreferencesWebKeywordRemove")));
    connect(addKeyword, &QPushButton::clicked, this, [this] {
        addWebKeywordRow(
            {QString(), QString(), QStringLiteral("https://") + WebKeywordSites::QueryMark});
        mWebKeywords->editItem(mWebKeywords->item(mWebKeywords->rowCount() - 1, 0));
    });
    connect(removeKeyword, &QPushButton::clicked, this, [this] {
        if (mWebKeywords->currentRow() >= 0)
            mWebKeywords->removeRow(mWebKeywords->currentRow());
    });
    keywordButtons->addWidget(addKeyword);
    keywordButtons->addWidget(removeKeyword);
    keywordButtons->addStretch();
    answers->addLayout(keywordButtons);
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
        ranking->addRow(QOR_StringUtils::getLocalizedFieldLabel(label), field);
        mPriorities.append({key, field});
    }
    auto *rankingGroup = new QGroupBox(localized(QStringLiteral("PreferencesRanking")));
    rankingGroup->setLayout(ranking);

    for (const QString &key : {KORVALE_KEY("RevealCursorOff"), KORVALE_KEY("RevealCursorCtrl"),
                               KORVALE_KEY("RevealCursorAlt"), KORVALE_KEY("RevealCursorSuper")})
        mRevealCursor->addItem(localized(key));
    mRevealCursor->setObjectName(KeyRevealCursor);
    auto *pointer = new QFormLayout;
    pointer->addRow(
        QOR_StringUtils::getLocalizedFieldLabel(QStringLiteral("PreferencesRevealCursor")),
        mRevealCursor);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(windowGroup);
    layout->addWidget(activityGroup);
    layout->addWidget(answersGroup);
    layout->addWidget(mDesktopSearch);
    layout->addWidget(rankingGroup);
    layout->addLayout(pointer);
    layout->addWidget(buttons);
}

void PreferencesSheet::addWebKeywordRow(const WebKeywordSites::Site &site)
{
    const int row = mWebKeywords->rowCount();
    mWebKeywords->insertRow(row);
    mWebKeywords->setItem(row, 0, new QTableWidgetItem(site.keyword));
    mWebKeywords->setItem(row, 1, new QTableWidgetItem(site.name));
    mWebKeywords->setItem(row, 2, new QTableWidgetItem(site.addressTemplate));
}

QList<WebKeywordSites::Site> PreferencesSheet::webKeywords() const
{
    QList<WebKeywordSites::Site> sites;
    for (int row = 0; row < mWebKeywords->rowCount(); ++row) {
        const auto text = [this, row](int column) {
            const QTableWidgetItem *item = mWebKeywords->item(row, column);
            return item ? item->text().trimmed() : QString();
        };
        sites << WebKeywordSites::Site{text(0), text(1), text(2)};
    }
    return sites;
}

void PreferencesSheet::load(const SharedPreferences &preferences)
{
    mWebKeywords->setRowCount(0);
    for (const WebKeywordSites::Site &site : WebKeywordSites::fromPreference(
             preferences.value(WebKeywordSites::PreferenceKey), QLocale()))
        addWebKeywordRow(site);
    // A key never stored shows the agent's default, not what a cancelled sheet left behind.
    for (const auto &[key, box] : mBoxes) {
        const std::optional<int> value = SharedPreferences::integerOf(preferences.value(key));
        box->setChecked(value ? *value != 0 : mDefaultBoxes.value(key));
    }
    for (const auto &[key, field] : mPriorities)
        field->setValue(SharedPreferences::integerOf(preferences.value(key)).value_or(0));
    mDesktopSearch->load(preferences);
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
    mDesktopSearch->store(preferences);
    // Rows the agent could not use (no keyword, no place for the query) are not kept.
    QList<WebKeywordSites::Site> sites = webKeywords();
    sites.removeIf(
        [](const WebKeywordSites::Site &site) { return !WebKeywordSites::isUsable(site); });
    preferences.setValue(WebKeywordSites::PreferenceKey, WebKeywordSites::toPreference(sites));
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
