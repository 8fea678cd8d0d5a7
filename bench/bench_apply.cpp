// Apply on the settings page on the largest canvas (40 x 800), through the real window, to 39
// columns and to 400 lines, against assigning the same resulting text to a bare edit once.

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <algorithm>
#include <chrono>

#include "Canvas.h"
#include "Offscreen.h"
#include "Timing.h"
#include "editor/SettingsPage.h"
#include "editor/frmMain.h"
#include "grid/LineModel.h"
#include "platform/Dialogs.h"
#include "platform/Fonts.h"

using namespace masumemo;
using bench::kGyou;
using bench::kKeta;

namespace {

/// Says Yes to every question.
class YesDialogs final : public platform::Dialogs
{
public:
    Answer message(QWidget*, const QString&, Buttons, Icon) override { return Answer::Yes; }
    QString openFileName(QWidget*, const FileRequest&) override { return {}; }
    QString saveFileName(QWidget*, const FileRequest&) override { return {}; }
};

QString documentText(const std::u16string& text)
{
    return QString::fromStdU16String(grid::lineEndsAs(text, u"\n"));
}

/// Median of `rounds` timings of act, each after an untimed prepare.
double medianOf(const std::function<void()>& prepare, const std::function<void()>& act,
                int rounds = 11)
{
    using Clock = std::chrono::steady_clock;
    std::vector<double> samples;
    for (int r = 0; r < rounds; ++r) {
        prepare();
        QCoreApplication::processEvents();
        const auto start = Clock::now();
        act();
        const std::chrono::duration<double, std::nano> elapsed = Clock::now() - start;
        samples.push_back(elapsed.count());
    }
    std::nth_element(samples.begin(), samples.begin() + rounds / 2, samples.end());
    return samples[static_cast<size_t>(rounds / 2)];
}

}  // namespace

int main(int argc, char** argv)
{
    bench::offscreenUnlessSet();
    QApplication app(argc, argv);
    platform::installFontSubstitutions();
    YesDialogs yes;
    platform::Dialogs::install(&yes);

    const std::u16string text = bench::largestCanvas();
    editor::frmMain window;
    window.show();
    window.optMoji_Click(editor::frmMain::kSettingsCategory);

    QPlainTextEdit bare;
    bare.resize(window.txtMain()->size());
    bare.setFont(window.txtMain()->font());
    bare.setUndoRedoEnabled(false);
    bare.setLineWrapMode(QPlainTextEdit::NoWrap);
    bare.show();

    bool ok = true;
    struct Case
    {
        const char* name;
        int keta;
        int gyou;
    };
    for (const Case c : {Case{"Apply 40 x 800 -> 39 x 800 vs one assignment", 39, 800},
                         Case{"Apply 40 x 800 -> 40 x 400 vs one assignment", 40, 400}}) {
        const auto prepare = [&] {
            window.canvas().resetCanvas(text, kKeta, kGyou);
            window.txtKeta()->setText(QString::number(c.keta));
            window.txtGyou()->setText(QString::number(c.gyou));
        };
        const double apply =
            medianOf(prepare, [&] { window.settingsPage().cmdTekiyou_Click(); });
        const QString original = documentText(text);
        const QString result = documentText(window.canvasText());
        const double assign = medianOf([&] { bare.setPlainText(original); },
                                       [&] { bare.setPlainText(result); });
        ok = bench::report(c.name, apply, assign, 2.0) && ok;
    }
    platform::Dialogs::install(nullptr);
    return ok ? 0 : 1;
}
