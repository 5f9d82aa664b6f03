#pragma once

#include <QVariantList>
#include <QWidget>

#include <optional>

class QGridLayout;
class QLabel;

// The reader section's list of the address books and calendars the agent found at its last
// reading, asked of the agent on the bus each time the section shows (the manager never loads
// Evolution Data Server's libraries nor reads the stores itself). One row per source: its name,
// its kind and origin, and the records it gave in the palette's secondary colour.
class OtherDataSourcesPanel : public QWidget
{
    Q_OBJECT
public:
    // `agentService`: the agent's bus name (another in tests, where agents of other tests run).
    explicit OtherDataSourcesPanel(
        QWidget *parent = nullptr,
        const QString &agentService = QStringLiteral("org.korvale.Daemon"));

    struct Row {
        QString name;
        QString kindAndOrigin; // "address book · in Thunderbird"
        QString count;
    };
    QList<Row> rows() const { return mRows; }
    // The line shown instead of rows: none found, no agent, asking.
    QString statusText() const;
    // Answers taken since the panel was made, for tests.
    int answers() const { return mAnswers; }

    // Only the kinds whose switch is on are listed: what the agent read before a switch went
    // off is not read any more.
    void setShownKinds(bool contacts, bool calendars);

public slots:
    // Asks the agent (without waiting).
    void refresh();
    // The agent's answer to org.korvale.OtherData.Sources(); none: no agent answered.
    void showAnswer(const std::optional<QVariantList> &sources);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void showRows();

    QString mAgentService;
    std::optional<QVariantList> mAnswer;
    bool mContacts = true;
    bool mCalendars = true;
    QLabel *mStatus;
    QWidget *mList;
    QGridLayout *mGrid;
    QList<Row> mRows;
    int mAnswers = 0;
};
