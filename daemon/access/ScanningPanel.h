#pragma once

#include <QWidget>

// A small window saying that the applications are being listed; shown by the access window
// while the application list is still empty.
class ScanningPanel : public QWidget
{
    Q_OBJECT
public:
    explicit ScanningPanel(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
