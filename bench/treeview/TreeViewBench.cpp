#include "TreeView.h"

#include <QApplication>
#include <QFile>
#include <QScrollBar>
#include <benchmark/benchmark.h>
#include <memory>
#include <string>
#include <vector>

namespace {

// A claim set with the reference structure of the largest built-in example:
// entry n is claim n + 1's reference wording, empty for an independent claim.
std::string ExampleFourStructure() {
    const std::vector<std::string> references = {"",
                                                 "claim 1",
                                                 "claim 2",
                                                 "claims 1 to 3",
                                                 "claims 1 to 4",
                                                 "claims 1 to 5",
                                                 "claims 1 to 3",
                                                 "claims 1 to 7",
                                                 "claim 8",
                                                 "claim 8",
                                                 "claims 1 to 10",
                                                 "claim 11",
                                                 "claim 12",
                                                 "claims 1 to 13",
                                                 "claims 1 to 14",
                                                 "claims 1 to 15",
                                                 "claims 3 to 16",
                                                 "claims 1 to 17",
                                                 "claims 1 to 18",
                                                 "claims 1 to 18",
                                                 "",
                                                 "claim 21",
                                                 "claim 21 or 22"};
    std::string text = "We claim:\n";
    for (std::size_t i = 0; i < references.size(); ++i) {
        const std::string number = std::to_string(i + 1);
        if (references[i].empty())
            text += number + ". A filter cartridge with a pleated paper element.\n";
        else
            text += number + ". The filter cartridge according to any one of " + references[i] +
                    ", wherein part " + number + " is sealed.\n";
    }
    return text;
}

// Claims 2 to Count each refer to "any one of the preceding claims". The
// lines are indented: claim numbers from 100 on are read only after a blank.
std::string PrecedingClaims(int Count) {
    std::string text = "We claim:\n  1. A filter cartridge with a pleated paper element.\n";
    for (int n = 2; n <= Count; ++n) {
        text += "  " + std::to_string(n) +
                ". The filter cartridge of any one of the preceding claims, wherein part " +
                std::to_string(n) + " is sealed.\n";
    }
    return text;
}

// Claim 2 cites claim 1 and then numbers without claims until its caption
// is about a megabyte long; claims 3 to 80 give the pane room to scroll.
std::string LongCaptionClaims() {
    std::string text = "We claim:\n1. A filter cartridge with a pleated paper element.\n"
                       "2. The filter cartridge of claims 1";
    for (int number = 2000; text.size() < 1'000'000; ++number)
        text += ", " + std::to_string(number);
    text += ".\n";
    for (int n = 3; n <= 80; ++n)
        text += std::to_string(n) + ". The filter cartridge of claim 1, part " + std::to_string(n) +
                ".\n";
    return text;
}

// Set -1 is the long caption.
std::string ClaimSet(int Id) {
    if (Id == -1)
        return LongCaptionClaims();
    return Id == 0 ? ExampleFourStructure() : PrecedingClaims(Id);
}

long ResidentKilobytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').front().toLong();
    }
    return 0;
}

// A shown tree pane with a claim set drawn and expanded in it.
struct TDrawnSet {
    explicit TDrawnSet(int Id) : tree(ClaimSet(Id)) {
        pane.resize(688, 800);
        pane.show();
        QApplication::processEvents();
    }
    void Draw() {
        drawing.BuildDrawing(&pane, &images, nullptr, -1, true);
        drawing.ExpandAll();
    }
    int64_t Boxes() const {
        int64_t boxes = 0;
        for (const auto& nodes : tree.NodesByClaim) {
            for (const TClaimTreeNode* node : nodes)
                boxes += drawing.View(*node).CaptionLabel != nullptr ? 1 : 0;
        }
        return boxes;
    }

    TClaimTree tree;
    TImageList images;
    TClaimTreePane pane;
    TTreeDrawing drawing{tree};
};

// BuildDrawing with ExpandAll, as after opening a document; the drawing of
// the previous iteration is destroyed on the way.
void BM_BuildAndExpand(benchmark::State& State) {
    TDrawnSet set(static_cast<int>(State.range(0)));
    for (auto _ : State) {
        set.Draw();
        State.PauseTiming();
        QApplication::processEvents();
        State.ResumeTiming();
    }
    State.counters["boxes"] = static_cast<double>(set.Boxes());
    State.counters["rss_MB"] = static_cast<double>(ResidentKilobytes()) / 1024.0;
}

// The same, until the pane has been painted.
void BM_BuildExpandAndPaint(benchmark::State& State) {
    TDrawnSet set(static_cast<int>(State.range(0)));
    for (auto _ : State) {
        set.Draw();
        QApplication::processEvents();
    }
}

// Draws the set, then times Click(set) once per iteration; the repaint that
// follows is timed only when Painted.
template <typename F> void TimeClicks(benchmark::State& State, F&& Click, bool Painted = false) {
    TDrawnSet set(static_cast<int>(State.range(0)));
    set.Draw();
    QApplication::processEvents();
    for (auto _ : State) {
        if (!Click(set)) {
            State.SkipWithError("no box to click");
            return;
        }
        if (!Painted)
            State.PauseTiming();
        QApplication::processEvents();
        if (!Painted)
            State.ResumeTiming();
    }
}

TClaimTreeNode& FirstChild(TDrawnSet& Set) {
    return *Set.tree.Roots.front()->Children.front();
}

bool ClickExpand(TDrawnSet& Set, TClaimTreeNode& Box) {
    Set.drawing.ExpandButtonClick(Box, Set.drawing.View(Box).ExpandButton);
    return true;
}

// One click on the expand button of the first box below the first root,
// collapsing and expanding it in turn: everything below it moves.
void BM_ClickFirstChild(benchmark::State& State) {
    TimeClicks(State, [](TDrawnSet& Set) { return ClickExpand(Set, FirstChild(Set)); });
}

// The same click until the pane has been painted again.
void BM_ClickFirstChildAndPaint(benchmark::State& State) {
    TimeClicks(
        State, [](TDrawnSet& Set) { return ClickExpand(Set, FirstChild(Set)); }, true);
}

// One click on the first root's expand button: hides or shows nearly every box.
void BM_ClickRoot(benchmark::State& State) {
    TimeClicks(State, [](TDrawnSet& Set) { return ClickExpand(Set, *Set.tree.Roots.front()); });
}

// A click on the expand button of a copy that does not carry its claim's
// subtree: the subtree moves to it. The two copies of the first claim that
// has two take turns.
void BM_ClickCopy(benchmark::State& State) {
    std::size_t turn = 1;
    TimeClicks(State, [&turn](TDrawnSet& Set) {
        for (const auto& copies : Set.tree.NodesByClaim) {
            if (copies.size() >= 2) {
                turn = 1 - turn;
                return ClickExpand(Set, *copies[1 - turn]);
            }
        }
        return false;
    });
}

// "Show claim" and "Hide claim" in turn on the first box below the first root.
void BM_ClickShowText(benchmark::State& State) {
    bool shown = false;
    TimeClicks(State, [&shown](TDrawnSet& Set) {
        TClaimTreeNode& box = FirstChild(Set);
        if (shown)
            Set.drawing.HideTextButtonClick(box, Set.drawing.View(box).HideTextButton);
        else
            Set.drawing.ShowTextButtonClick(box, Set.drawing.View(box).ShowTextButton);
        shown = !shown;
        return true;
    });
}

// "Show branch" and "Show all" in turn on the first box below the first root.
void BM_ClickBranch(benchmark::State& State) {
    TimeClicks(State, [](TDrawnSet& Set) {
        TClaimTreeNode& box = FirstChild(Set);
        Set.drawing.BranchButtonClick(box, Set.drawing.View(box).BranchButton);
        return true;
    });
}

// Scrolling down one screen at a time, wrapping at the end, until painted.
void BM_ScrollScreen(benchmark::State& State) {
    TDrawnSet set(static_cast<int>(State.range(0)));
    set.Draw();
    QApplication::processEvents();
    QScrollBar* vertical = set.pane.verticalScrollBar();
    for (auto _ : State) {
        const int next = vertical->value() + vertical->pageStep();
        vertical->setValue(next > vertical->maximum() ? 0 : next);
        QApplication::processEvents();
    }
}

// Mouse-wheel steps of three lines, down and up in turn, until painted; the
// long caption stays in view.
void BM_WheelStep(benchmark::State& State) {
    TDrawnSet set(static_cast<int>(State.range(0)));
    set.Draw();
    QApplication::processEvents();
    QScrollBar* vertical = set.pane.verticalScrollBar();
    int step = 3 * vertical->singleStep();
    for (auto _ : State) {
        vertical->setValue(vertical->value() + step);
        step = -step;
        QApplication::processEvents();
    }
}

// Claim set ids: 0 is the example-4 structure, otherwise the number of
// "any one of the preceding claims" claims.
void ClaimSets(benchmark::internal::Benchmark* Bench) {
    Bench->ArgName("set")->Arg(0)->Arg(50)->Arg(100)->Arg(300)->Arg(1000)->Unit(
        benchmark::kMillisecond);
}

BENCHMARK(BM_BuildAndExpand)->Apply(ClaimSets);
BENCHMARK(BM_BuildExpandAndPaint)->Apply(ClaimSets);
BENCHMARK(BM_ClickFirstChild)->Apply(ClaimSets);
BENCHMARK(BM_ClickFirstChildAndPaint)->Apply(ClaimSets);
BENCHMARK(BM_ClickRoot)->Apply(ClaimSets);
BENCHMARK(BM_ClickCopy)->Apply(ClaimSets);
BENCHMARK(BM_ClickShowText)->Apply(ClaimSets);
BENCHMARK(BM_ClickBranch)->Apply(ClaimSets);
BENCHMARK(BM_ScrollScreen)->Apply(ClaimSets);
BENCHMARK(BM_BuildExpandAndPaint)
    ->Name("BM_LongCaptionOpen")
    ->Arg(-1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WheelStep)->Name("BM_LongCaptionWheelStep")->Arg(-1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
