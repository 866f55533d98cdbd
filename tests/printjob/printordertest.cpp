// What the print dialog's choices become: the order of the sheets a job draws
// itself, and the options a CUPS queue is given.
#include "fixtures/testmain.h"
#include "printjob/printqueue.h"
#include "printjob/sheetorder.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QTest>

#include <vector>

class PrintOrderTest : public QObject
{
    Q_OBJECT

private slots:
    void sheetOrder_data();
    void sheetOrder();
    void jobOptions_data();
    void jobOptions();
};

void PrintOrderTest::sheetOrder_data()
{
    QTest::addColumn<int>("pages");
    QTest::addColumn<int>("copies");
    QTest::addColumn<bool>("collate");
    QTest::addColumn<bool>("lastFirst");
    QTest::addColumn<std::vector<int>>("order");
    QTest::newRow("one copy") << 3 << 1 << false << false << std::vector<int>{0, 1, 2};
    QTest::newRow("one copy, last page first") << 3 << 1 << false << true << std::vector<int>{2, 1, 0};
    QTest::newRow("two copies collated") << 3 << 2 << true << false << std::vector<int>{0, 1, 2, 0, 1, 2};
    QTest::newRow("two copies uncollated") << 3 << 2 << false << false << std::vector<int>{0, 0, 1, 1, 2, 2};
    QTest::newRow("two copies collated, last page first")
        << 3 << 2 << true << true << std::vector<int>{2, 1, 0, 2, 1, 0};
    QTest::newRow("two copies uncollated, last page first")
        << 3 << 2 << false << true << std::vector<int>{2, 2, 1, 1, 0, 0};
    QTest::newRow("no copies asked for is one copy") << 2 << 0 << true << false << std::vector<int>{0, 1};
    QTest::newRow("nothing to print") << 0 << 3 << true << false << std::vector<int>{};
}

void PrintOrderTest::sheetOrder()
{
    QFETCH(int, pages);
    QFETCH(int, copies);
    QFETCH(bool, collate);
    QFETCH(bool, lastFirst);
    QFETCH(std::vector<int>, order);
    QCOMPARE(::sheetOrder(pages, copies, collate, lastFirst), order);
}

void PrintOrderTest::jobOptions_data()
{
    QTest::addColumn<QPageSize::PageSizeId>("paper");
    QTest::addColumn<QPageLayout::Orientation>("orientation");
    QTest::addColumn<int>("copies");
    QTest::addColumn<bool>("collate");
    QTest::addColumn<QPrinter::DuplexMode>("duplex");
    QTest::addColumn<QStringList>("printerOptions");
    QTest::addColumn<QStringList>("options");
    const auto portrait = QPageLayout::Portrait;
    const auto landscape = QPageLayout::Landscape;
    QTest::newRow("A4, one copy, one-sided") << QPageSize::A4 << portrait << 1 << true << QPrinter::DuplexNone
                                             << QStringList{} << QStringList{"media=A4", "sides=one-sided"};
    QTest::newRow("Letter") << QPageSize::Letter << portrait << 1 << true << QPrinter::DuplexNone << QStringList{}
                            << QStringList{"media=Letter", "sides=one-sided"};
    QTest::newRow("three copies collated")
        << QPageSize::A4 << portrait << 3 << true << QPrinter::DuplexNone << QStringList{}
        << QStringList{"media=A4", "copies=3", "Collate=True", "sides=one-sided"};
    QTest::newRow("two copies uncollated") << QPageSize::A4 << portrait << 2 << false << QPrinter::DuplexNone
                                           << QStringList{} << QStringList{"media=A4", "copies=2", "sides=one-sided"};
    QTest::newRow("both sides as the paper turns, portrait")
        << QPageSize::A4 << portrait << 1 << true << QPrinter::DuplexAuto << QStringList{}
        << QStringList{"media=A4", "sides=two-sided-long-edge"};
    QTest::newRow("both sides as the paper turns, landscape")
        << QPageSize::A4 << landscape << 1 << true << QPrinter::DuplexAuto << QStringList{}
        << QStringList{"media=A4", "sides=two-sided-short-edge", "landscape="};
    QTest::newRow("both sides, long edge") << QPageSize::A4 << portrait << 1 << true << QPrinter::DuplexLongSide
                                           << QStringList{} << QStringList{"media=A4", "sides=two-sided-long-edge"};
    QTest::newRow("both sides, short edge") << QPageSize::A4 << portrait << 1 << true << QPrinter::DuplexShortSide
                                            << QStringList{} << QStringList{"media=A4", "sides=two-sided-short-edge"};
    QTest::newRow("the printer's own options come last")
        << QPageSize::A4 << portrait << 1 << true << QPrinter::DuplexNone
        << QStringList{"number-up", "2", "job-priority", "80"}
        << QStringList{"media=A4", "sides=one-sided", "number-up=2", "job-priority=80"};
}

void PrintOrderTest::jobOptions()
{
    QFETCH(QPageSize::PageSizeId, paper);
    QFETCH(QPageLayout::Orientation, orientation);
    QFETCH(int, copies);
    QFETCH(bool, collate);
    QFETCH(QPrinter::DuplexMode, duplex);
    QFETCH(QStringList, printerOptions);
    QFETCH(QStringList, options);
    const QPageLayout layout(QPageSize(paper), orientation, QMarginsF());

    QStringList given;
    for (const auto &[name, value] : PrintQueue::jobOptions(layout, copies, collate, duplex, printerOptions))
        given.append(QString::fromUtf8(name + '=' + value));
    QCOMPARE(given, options);
}

LETTERLOOM_TEST_MAIN(PrintOrderTest)
#include "printordertest.moc"
