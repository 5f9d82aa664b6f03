#pragma once

#include <QWidget>

class QLabel;

// The survey window: the entry's title, the reason it is shown and the value in large type, in
// front of the other windows. Main thread.
class StockSurveyWindow : public QWidget
{
    Q_OBJECT
public:
    static constexpr int ValuePointSize = 28;

    explicit StockSurveyWindow(QWidget *parent = nullptr);

    void showSurvey(const QString &title, const QString &reason, const QString &value);
    void clearValue();

    QString title() const;
    QString reason() const;
    QString value() const;

signals:
    // Closed by the user or hidden by the agent.
    void hidden();

protected:
    void hideEvent(QHideEvent *event) override;

private:
    QLabel *mTitle;
    QLabel *mReason;
    QLabel *mValue;
};
