// The start-up window: counts the installed fonts into the main window's lists,
// one family per timer tick so that it can repaint in between, then hands
// over to the main window.
#pragma once

#include <QFrame>

#include <array>
#include <memory>

class FontSource;
class Glyphana;
class QLabel;
class QProgressBar;
class QTimer;

class BitteWarten : public QFrame
{
    Q_OBJECT
public:
    explicit BitteWarten(const FontSource &fonts, QWidget *parent = nullptr);
    ~BitteWarten() override;

    // The main window, created and loaded the first time it is needed.
    Glyphana &mainWindow();

signals:
    // The main window exists but has not run its load routine yet.
    void mainWindowCreated(Glyphana *window);

protected:
    void showEvent(QShowEvent *event) override;

private:
    // The controls, named as the window was designed; tests and screen readers
    // find them by those names.
    std::array<QLabel *, 2> Label1;
    QLabel *Logo;
    QProgressBar *ProgressBar;
    QLabel *txt_Info;
    QTimer *Timer1;

    void Timer1_Timer();
    void handOver();

    const FontSource &m_fonts;
    // The start-up window outlives its own closing: it keeps the main window
    // alive for the rest of the run.
    std::unique_ptr<Glyphana> m_main;
};
