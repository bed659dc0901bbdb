#pragma once

#include <QLabel>
#include <QStringList>
#include <QTimer>

namespace tf::gui {

// The advertisement ticker: the messages of "ZUdavu.dat" scroll across the start page one
// after another; it stands still while a work page or a dialog is in front.
class TickerLabel : public QWidget {
    Q_OBJECT
  public:
    explicit TickerLabel(QWidget* parent = nullptr);

    void setMessages(const QStringList& messages);
    void setPaused(bool paused);
    bool paused() const { return paused_; }
    bool running() const { return timer_.isActive(); }
    const QStringList& messages() const { return messages_; }

  signals:
    void clicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    void step();

    QStringList messages_;
    int current_ = 0;
    int offset_ = 0;
    bool paused_ = false;
    QTimer timer_;
};

}  // namespace tf::gui
