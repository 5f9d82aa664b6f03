#pragma once

#include <QWidget>

class QLabel;

// The welcome section: the suite, its version and how to begin.
class WelcomeView : public QWidget
{
    Q_OBJECT
public:
    explicit WelcomeView(QWidget *parent = nullptr);
    void setVersion(const QString &version);
    QString versionText() const;

private:
    QLabel *mVersion;
};

// The quick help section.
class QuickHelpView : public QWidget
{
    Q_OBJECT
public:
    explicit QuickHelpView(QWidget *parent = nullptr);
};

// A section whose content comes with a later version: one line saying what it will hold.
class ComingSectionView : public QWidget
{
    Q_OBJECT
public:
    explicit ComingSectionView(const QString &textKey, QWidget *parent = nullptr);
};
