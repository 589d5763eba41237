#pragma once
// TfrmKorvalaSplash: the borderless window shown while the main window is
// being created.

#include <QWidget>

class TfrmKorvalaSplash : public QWidget {
    Q_OBJECT

public:
    explicit TfrmKorvalaSplash(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
