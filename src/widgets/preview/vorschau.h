// The preview window: shows the font catalogue in a scrollable view and prints it.
#pragma once

#include "app/printoptions.h"

#include <QDialog>
#include <QStringList>

class CatalogueFeeder;
class FlatButton;
class QAction;
class QLabel;
class QMenuBar;
class QTextEdit;

class Vorschau : public QDialog
{
    Q_OBJECT
public:
    // Builds the catalogue of `fontNames` as `options` describe it; the first
    // screen is ready when the window shows, the rest follows while it is open.
    Vorschau(const PrintOptions &options, const QStringList &fontNames, QWidget *parent = nullptr);
    ~Vorschau() override;

    bool isCatalogueComplete() const;

public slots:
    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The menu entry and the controls, named as the window was designed; tests
    // and screen readers find them by those names.
    QAction *Drucken;
    QTextEdit *RichTextBox;
    FlatButton *cmd_Print;
    FlatButton *cmd_Ende;
    QLabel *txt_Error;

    void createControls();
    void Form_Resize();
    void printCatalogue();

    QMenuBar *m_menuBar;
    QWidget *m_client;
    CatalogueFeeder *m_feeder;
};
