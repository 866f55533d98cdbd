// What the preview tests share: the options they print with, a plain catalogue
// of alphabets headed in Liberation Sans without a date line, and printing the
// preview to a PDF file as a user does.
#pragma once

#include "app/printoptions.h"
#include "fixtures/modaldriver.h"
#include "preview/vorschau.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPushButton>
#include <QTest>

inline PrintOptions catalogueOptions(SampleKind kind = SampleKind::Alphabet)
{
    PrintOptions options;
    options.title = QStringLiteral("Katalog");
    options.headingTypeface = QStringLiteral("Liberation Sans");
    options.sampleSize = 20;
    options.dateLine = false;
    options.sampleKind = kind;
    return options;
}

// Clicks "&Drucken", picks the dialog's last printer (a PDF file) with the
// file `pdf`, and returns the message the job ends with; empty if none came.
inline QString printToPdfFile(Vorschau &preview, const QString &pdf)
{
    QFile::remove(pdf);
    whenModal<QPrintDialog>([&pdf](QPrintDialog *dialog) {
        auto *printers = dialog->findChild<QComboBox *>(QStringLiteral("printers"));
        printers->setCurrentIndex(printers->count() - 1);
        dialog->findChild<QLineEdit *>(QStringLiteral("filename"))->setText(pdf);
        dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    });
    SeenMessage outcome;
    answerMessageBox(outcome, QMessageBox::Ok);
    QTest::mouseClick(preview.findChild<QWidget *>(QStringLiteral("cmd_Print")), Qt::LeftButton);
    return QTest::qWaitFor([&outcome] { return outcome.shown; }) ? outcome.text : QString();
}
