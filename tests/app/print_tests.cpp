// Printing: the command in the window, and a real job into a PDF file.
#include <QFontInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "app/form_fixture.h"
#include "fakes/recording_printer.h"
#include "platform/qt_printer.h"
#include "print/print_job.h"

using namespace Qt::Literals::StringLiterals;

namespace {

using PrintCommandTest = FormTest;

TEST_F(PrintCommandTest, PrintsTheDisplayedLinesAndReportsThePages)
{
    RecordingPrinter printer;
    form.setPrinterDevice(printer);
    setText(u"first\n"_s + QString(400, u'x') + u"\nlast\n"_s);
    const QStringList shown = markup::DisplayedLines(*form.Memo1);
    ASSERT_GT(shown.size(), 3);  // the long paragraph is shown on several rows

    form.findChild<QAction*>(u"N26"_s)->trigger();
    EXPECT_EQ(printer.setups, 1);
    ASSERT_EQ(printer.pages.size(), 1);
    QStringList printed;
    for (const auto& line : printer.pages[0]) printed.append(line.text);
    EXPECT_EQ(printed, shown);
    EXPECT_DOUBLE_EQ(printer.font.pointSizeF(), QFontInfo(form.Memo1->font()).pointSizeF());
    EXPECT_EQ(printer.font.families(), form.Memo1->font().families());
    EXPECT_EQ(prompts.asked(), QStringList{u"message:列印完成！共計列印： 1 頁"_s});

    prompts.clearAsked();
    setText(Numbered(115).join(u'\n'));
    button("SpeedButton50")->click();
    EXPECT_EQ(printer.pages.size(), 3);
    EXPECT_EQ(prompts.asked(), QStringList{u"message:列印完成！共計列印： 3 頁"_s});
}

TEST_F(PrintCommandTest, CancelPrintsNothingAndAFailureShowsOnlyTheError)
{
    RecordingPrinter printer;
    form.setPrinterDevice(printer);
    setText(Numbered(60).join(u'\n'));
    printer.setupAnswer = false;
    action("N26")->trigger();
    EXPECT_EQ(printer.jobsBegun, 0);
    EXPECT_EQ(prompts.asked(), QStringList{});

    printer.setupAnswer = true;
    for (const QString& step : {u"begin"_s, u"newPage"_s, u"end"_s}) {
        SCOPED_TRACE(step.toStdString());
        printer.failAt = step;
        prompts.clearAsked();
        action("N26")->trigger();
        EXPECT_EQ(prompts.asked(), QStringList{u"error:Printer selected is not valid."_s});
    }
    EXPECT_EQ(text(), Numbered(60).join(u'\n'));
}

// Runs a poppler tool on the file; its standard output.
QString Poppler(const QString& tool, const QStringList& arguments)
{
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0) return u"<failed>"_s;
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The system's printer with its dialog answered: print into the file.
class PdfWithoutDialog final : public platform::PrinterDevice {
public:
    explicit PdfWithoutDialog(const QString& path)
    {
        m_device.printer().setOutputFormat(QPrinter::PdfFormat);
        m_device.printer().setOutputFileName(path);
    }
    bool setup() override { return true; }
    void beginJob(const platform::PrintFont& font) override { m_device.beginJob(font); }
    int textHeight(const QString& text) const override { return m_device.textHeight(text); }
    int printableHeight() const override { return m_device.printableHeight(); }
    void drawText(int x, int y, const QString& text) override { m_device.drawText(x, y, text); }
    void newPage() override { m_device.newPage(); }
    void endJob() override { m_device.endJob(); }
    void abortJob() override { m_device.abortJob(); }

private:
    platform::QtPrinter m_device{nullptr};
};

TEST_F(PrintCommandTest, ThePagesReportedAreThePagesOfThePdfFile)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(u"out.pdf"_s);
    PdfWithoutDialog device(pdf);
    form.setPrinterDevice(device);
    setText(Numbered(300).join(u'\n'));
    action("N26")->trigger();

    const QString info = Poppler(u"pdfinfo"_s, {pdf});
    const QRegularExpressionMatch count = QRegularExpression(u"Pages:\\s+(\\d+)\\n"_s).match(info);
    ASSERT_TRUE(count.hasMatch()) << info.toStdString();
    const qsizetype pages = count.captured(1).toInt();
    EXPECT_EQ(prompts.asked(), QStringList{u"message:列印完成！共計列印： %1 頁"_s.arg(pages)});
    ASSERT_GE(pages, 2);

    // The first page starts with the first line; the last one ends with the
    // last line, and its lines follow on from the full pages before it.
    const auto pageLines = [&](qsizetype page) {
        const QString n = QString::number(page);
        return Poppler(u"pdftotext"_s, {u"-f"_s, n, u"-l"_s, n, u"-layout"_s, pdf, u"-"_s})
            .split(u'\n', Qt::SkipEmptyParts)
            .replaceInStrings(QRegularExpression(u"^\\s+|\\s+$"_s), QString())
            .filter(QRegularExpression(u"\\S"_s));
    };
    const QStringList first = pageLines(1);
    const QStringList last = pageLines(pages);
    ASSERT_FALSE(first.isEmpty());
    ASSERT_FALSE(last.isEmpty());
    EXPECT_EQ(first.first(), u"line 1"_s);
    EXPECT_EQ(last.last(), u"line 300"_s);
    const qsizetype perPage = first.size();
    EXPECT_EQ(last.first(), u"line %1"_s.arg((pages - 1) * perPage + 1));
    EXPECT_EQ(pages, (300 + perPage - 1) / perPage);
}

// A tab in a printed line moves the rest of the line to the next tab stop,
// as far on paper as it is in the editing area, and nothing is left out.
TEST_F(PrintCommandTest, TabsArePrintedAsTheEditingAreaShowsThem)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(u"tabs.pdf"_s);
    PdfWithoutDialog device(pdf);
    form.setPrinterDevice(device);
    setText(u"名稱\t價格\tabc\n\t縮排的一行"_s);
    form.N26Click();
    ASSERT_EQ(prompts.asked(), QStringList{u"message:列印完成！共計列印： 1 頁"_s});

    // Where each word begins, in points: <word xMin="..." ...>WORD</word>.
    const QString boxes = Poppler(u"pdftotext"_s, {u"-bbox"_s, pdf, u"-"_s});
    QMap<QString, double> left;
    const QRegularExpression word(u"<word xMin=\"([0-9.]+)\"[^>]*>([^<]+)</word>"_s);
    for (const QRegularExpressionMatch& match : word.globalMatch(boxes))
        left.insert(match.captured(2), match.captured(1).toDouble());
    ASSERT_TRUE(left.contains(u"名稱"_s)) << boxes.toStdString();
    for (const QString& after : {u"價格"_s, u"abc"_s, u"縮排的一行"_s})
        ASSERT_TRUE(left.contains(after)) << after.toStdString() << boxes.toStdString();

    const double tab = form.Memo1->tabStopDistance() * 72.0 / form.Memo1->logicalDpiX();
    const double start = left[u"名稱"_s];
    EXPECT_NEAR(left[u"價格"_s] - start, tab, 1.0);
    EXPECT_NEAR(left[u"abc"_s] - start, 2 * tab, 1.0);
    EXPECT_NEAR(left[u"縮排的一行"_s] - start, tab, 1.0);
}

TEST(SystemPrinter, AJobCalledOffLeavesNoFile)
{
    QTemporaryDir dir;
    platform::QtPrinter device(nullptr);
    device.printer().setOutputFormat(QPrinter::PdfFormat);
    device.printer().setOutputFileName(dir.filePath(u"out.pdf"_s));
    EXPECT_EQ(
        print::PrintLines(device, Numbered(300), {}, [](qsizetype, qsizetype) { return false; }),
        std::nullopt);
    EXPECT_FALSE(QFile::exists(dir.filePath(u"out.pdf"_s)));
}

TEST(SystemPrinter, AnUnwritableFileIsAnError)
{
    platform::QtPrinter device(nullptr);
    device.printer().setOutputFormat(QPrinter::PdfFormat);
    device.printer().setOutputFileName(u"/nonexistent-directory/out.pdf"_s);
    EXPECT_THROW(print::PrintLines(device, Numbered(3), {}), platform::PrinterError);
}

}  // namespace
