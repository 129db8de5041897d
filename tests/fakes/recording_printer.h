#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "platform/printer_device.h"

// A printer that records the job: pages of drawn lines with their
// positions. Its metrics and an optional failure are set by the test.
class RecordingPrinter final : public platform::PrinterDevice {
public:
    struct Drawn {
        int x, y;
        QString text;
        bool operator==(const Drawn&) const = default;
    };

    bool setupAnswer = true;
    int lineTextHeight = 100;  // of any text: LH is this + 10
    int pageHeight = 6600;
    // The step that throws, if any: "begin", "newPage", "end".
    QString failAt;

    int setups = 0;
    int jobsBegun = 0;
    int jobsEnded = 0;
    int jobsAborted = 0;
    QFont font;
    QList<QList<Drawn>> pages;

    bool setup() override
    {
        ++setups;
        return setupAnswer;
    }
    void beginJob(const platform::PrintFont& jobFont) override
    {
        failIf(u"begin");
        ++jobsBegun;
        font = jobFont.font;
        pages = {{}};
    }
    int textHeight(const QString&) const override { return lineTextHeight; }
    int printableHeight() const override { return pageHeight; }
    void drawText(int x, int y, const QString& text) override
    {
        pages.last().append(Drawn{x, y, text});
    }
    void newPage() override
    {
        failIf(u"newPage");
        pages.append(QList<Drawn>());
    }
    void endJob() override
    {
        failIf(u"end");
        ++jobsEnded;
    }
    void abortJob() override { ++jobsAborted; }

private:
    void failIf(QStringView step) const
    {
        if (failAt == step) throw platform::PrinterError("Printer selected is not valid");
    }
};

// "line 1" to "line <count>", a document to print.
inline QStringList Numbered(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i) lines.append(QStringLiteral("line %1").arg(i));
    return lines;
}
