// The About window: the program's title, version and author, the vendor's web
// and mail addresses, and "Okay" to close it. Opened modally from the main window.
#pragma once

#include <QDialog>

#include <array>

class FlatButton;
class GradientBar;
class LinkLabel;
class QFrame;
class QLabel;

class Copyright : public QDialog
{
    Q_OBJECT
public:
    explicit Copyright(QWidget *parent = nullptr);

protected:
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // The elements, named as the window was designed; tests and screen readers
    // find them by those names, inside the area named "client".
    GradientBar *roLabel;
    std::array<QLabel *, 2> txt_Titel;
    QLabel *txt_Name;
    QLabel *ImageLogo;
    // Indexed as designed: there is no Label1(2) and no roLabel1(0).
    std::array<QLabel *, 4> Label1{};
    std::array<LinkLabel *, 3> roLabel1{};
    QFrame *Line3D1;
    QLabel *Logo;
    FlatButton *cmdOK;

    void createControls();
    void centreOnScreen();
    void Form_Load();
    void Form_Activate();
    void showOwnerIcon();
    void showVersion();
    void showTitle();
    void cmdOK_Click();

    QFrame *m_frame;
    QWidget *m_client;
};
