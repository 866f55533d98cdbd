// A join that fails writes its cause to the print log, which stays off until a
// logging rule switches it on.
#include "app/logcategories.h"
#include "fixtures/coretestmain.h"
#include "printjob/pdfjoin.h"

#include <QBuffer>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {
QStringList logged;

void keep(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtWarningMsg)
        logged.append(QLatin1String(context.category) + QStringLiteral(": ") + text);
}
} // namespace

class PdfJoinTest : public QObject
{
    Q_OBJECT
private slots:
    void failingJoinWritesItsCause_data();
    void failingJoinWritesItsCause();
};

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
    QFile file(part);
    QVERIFY(contents.isEmpty() || (file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size()));
    file.close();
    QBuffer joined;
    joined.open(QIODevice::WriteOnly);
    const auto join = [&] { return PdfJoin(joined, [] { return true; }).addPart(part); };

    logged.clear();
    const QtMessageHandler before = qInstallMessageHandler(keep);
    QCOMPARE(join(), PdfJoin::PartUnreadable);
    QCOMPARE(logged, QStringList());
    QLoggingCategory::setFilterRules(QStringLiteral("letterloom.print=true"));
    QCOMPARE(join(), PdfJoin::PartUnreadable);
    QLoggingCategory::setFilterRules(QString());
    qInstallMessageHandler(before);

    // The part, then what was wrong with it in the words of the file system or of qpdf.
    QCOMPARE(logged.size(), 1);
    const QRegularExpression partAndCause(QStringLiteral("^letterloom\\.print: .*") + QRegularExpression::escape(part)
                                          + QStringLiteral("\\W+\\w+"));
    QVERIFY2(partAndCause.match(logged[0]).hasMatch(), qPrintable(logged[0]));
}

LETTERLOOM_CORE_TEST_MAIN(PdfJoinTest)
#include "pdfjointest.moc"
