// A join that fails writes its cause to the print log, which is off until a
// logging rule switches it on.
#include "app/logcategories.h"
#include "fixtures/coretestmain.h"
#include "printjob/pdfjoin.h"

#include <QBuffer>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {
struct Logged {
    QString category;
    QtMsgType type;
    QString text;
};
QList<Logged> logged;

void keep(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    logged.append({QString::fromLatin1(context.category), type, text});
}
} // namespace

class PdfJoinTest : public QObject
{
    Q_OBJECT
private slots:
    void logIsOffUnlessSwitchedOn();
    void failingJoinWritesItsCause_data();
    void failingJoinWritesItsCause();
};

void PdfJoinTest::logIsOffUnlessSwitchedOn()
{
    QVERIFY(!lcPrint().isWarningEnabled());
    QLoggingCategory::setFilterRules(QStringLiteral("letterloom.print=true"));
    QVERIFY(lcPrint().isWarningEnabled());
    QLoggingCategory::setFilterRules(QString());
}

void PdfJoinTest::failingJoinWritesItsCause_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::newRow("part missing") << QByteArray();
    QTest::newRow("part no PDF") << QByteArrayLiteral("Druckauftrag, Teil 1\n");
}

void PdfJoinTest::failingJoinWritesItsCause()
{
    QFETCH(QByteArray, contents);
    QTemporaryDir folder;
    const QString part = folder.filePath(QStringLiteral("part-1.pdf"));
    if (!contents.isEmpty()) {
        QFile file(part);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size());
    }
    QBuffer joined;
    joined.open(QIODevice::WriteOnly);

    QLoggingCategory::setFilterRules(QStringLiteral("letterloom.print=true"));
    logged.clear();
    const QtMessageHandler before = qInstallMessageHandler(keep);
    const PdfJoin::Result result = PdfJoin(joined, [] { return true; }).addPart(part);
    qInstallMessageHandler(before);
    QLoggingCategory::setFilterRules(QString());

    QCOMPARE(result, PdfJoin::PartUnreadable);
    QCOMPARE(logged.size(), 1);
    QCOMPARE(logged[0].category, QStringLiteral("letterloom.print"));
    QCOMPARE(logged[0].type, QtWarningMsg);
    // The part, then what was wrong with it in the words of the file system or of qpdf.
    const QRegularExpression partAndCause(QRegularExpression::escape(part) + QStringLiteral("\\W+\\w+"));
    QVERIFY2(partAndCause.match(logged[0].text).hasMatch(), qPrintable(logged[0].text));
}

LETTERLOOM_CORE_TEST_MAIN(PdfJoinTest)
#include "pdfjointest.moc"
