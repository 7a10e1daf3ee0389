// Painting in a 640 x 480 picture pane through the program's window, as a child paints: a brush
// stroke of 200 mouse moves (two seconds of a mouse reporting every 10 ms) zigzagging over the
// picture with a round 12-pixel brush, each move delivered by the platform's message loop;
// reports the processor time per move (target: under 1 ms, so painting keeps up with any mouse).
// And a bucket fill of the whole picture (a press and release with the bucket tool, the region
// being every pixel) set beside a memset of the same 307,200 pixels, as their ratio.
#include "authoring/panes/CPixPane.h"
#include "authoring/tools/CBrushTool.h"
#include "authoring/tools/CDropperTool.h"
#include "authoring/tools/PaintSettings.h"
#include "foundation/Resources.h"
#include "foundation/String.h"
#include "ui/App.h"
#include "ui/AppGlue.h"
#include "ui/AppMain.h"
#include "ui/ProgressRange.h"
#include "ui/Window.h"

#include "platform/backend/Backend.h"
#include "platform/kernel/KernelTesting.h"
#include "platform/testing/TestDriver.h"

#include "PaintWindow.h"
#include "Ratio.h"
#include "StartupFolder.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

namespace {

namespace driver = pw::platform::testing;
using authoring::PaintWindow;

constexpr int32_t kWidth = 640;
constexpr int32_t kHeight = 480;
constexpr int kMoves = 200;

class BenchApp : public App {
public:
    BenchApp()
        : App(SmartPtr<MenuBar>(), FileCreatorType("Bnch", 0x426E6368), SmartPtr<TypeIndex>())
    {
    }
    void NewDocument() override { }
    void DoAbout() override { }
};

App* MakeApp()
{
    return new BenchApp;
}

// The start-up folder with the palette and brush 6's cursor (a disc 12 pixels across) beside the
// stand-in cursor, the main
// window and the application, and a shown window holding the pane; made once.
struct Studio {
    SmartPtr<PaintWindow> window;
    SmartPtr<CPixPane> pane;

    Studio()
    {
        std::filesystem::path data = bench::ProvideStartupFolder() / "Data";
        std::string disc = "hotspot 6 6\n";
        for (int v = 0; v < 12; ++v) {
            for (int h = 0; h < 12; ++h)
                disc += (h * 2 - 11) * (h * 2 - 11) + (v * 2 - 11) * (v * 2 - 11) <= 144 ? '#' : '.';
            disc += '\n';
        }
        std::ofstream(data / "305.cur") << disc;
        // The stand-in for every cursor the folder lacks.
        std::ofstream(data / "201.cur") << "hotspot 0 0\n##\n##\n";
        ProgressRange::SetVisible(false);
        HWND main = pw::ui::CreateMainWindow(nullptr);
        ShowWindow(main, SW_SHOWMAXIMIZED);
        AppGlue::InitApplication(&MakeApp, &pw::ui::ProgramRecord());
        // Resources load from the program's own instance, as in the running program.
        pw::foundation::SetOsAppForTesting(pw::platform::ProgramInstance());
        window = new PaintWindow(Point(kWidth, kHeight));
        pane = new CPixPane(window.Get(), 0, 0, kWidth, kHeight, Rect(0, 0, 0, 0), nullptr);
        window->AddChild(SmartPtr<View>(pane.Get()));
        Window::GetApplication()->AddWindow(SmartPtr<Window>(window.Get()), true);
        window->Show(true);
        driver::RunUntilIdle();
    }

    POINT At(int32_t h, int32_t v) const
    {
        Point origin = window->GetContentOrigin();
        return POINT { origin.h + h, origin.v + v };
    }
};

// Never released: the platform it stands on goes first at exit.
Studio& TheStudio()
{
    static Studio* studio = new Studio;
    return *studio;
}

double ProcessorSeconds()
{
    return double(std::clock()) / CLOCKS_PER_SEC;
}

void BM_BrushStroke(benchmark::State& state)
{
    Studio& studio = TheStudio();
    Window::GetApplication()->SetCurrentTool(new CBrushTool(new CDropperTool));
    double spent = 0.0;
    int moves = 0;
    for (auto _ : state) {
        POINT start = studio.At(20, 20);
        driver::PressMouse(start.x, start.y);
        driver::RunUntilIdle();
        double before = ProcessorSeconds();
        for (int i = 1; i <= kMoves; ++i) {
            // Sweeps of 40 moves across the picture, 15 pixels a move, each sweep lower.
            int32_t sweep = i / 40;
            int32_t along = (i % 40) * 15;
            POINT p = studio.At(sweep % 2 ? kWidth - 20 - along : 20 + along, 20 + sweep * 90 + (i % 40));
            driver::MoveMouse(p.x, p.y);
            driver::RunUntilIdle();
        }
        spent += ProcessorSeconds() - before;
        moves += kMoves;
        POINT end = studio.At(20, 20);
        driver::ReleaseMouse(end.x, end.y);
        driver::RunUntilIdle();
    }
    double perMoveMs = spent * 1000.0 / moves;
    state.counters["cpu_ms_per_move"] = perMoveMs;
    state.counters["limit_ms"] = 1.0;
}
BENCHMARK(BM_BrushStroke)->Unit(benchmark::kMillisecond);

// The fill tool is made current by each fill, since the brush stroke runs between them.
[[maybe_unused]] const bool bucketFill = bench::Compare("BM_BucketFill", {}, [] {
    Studio& studio = TheStudio();
    SmartPtr<Tool> bucket = new CTool(103, nullptr, false, nullptr);
    auto pixels = std::make_shared<std::vector<uint8_t>>(size_t(kWidth) * kHeight);
    auto colour = std::make_shared<int>(0);
    return bench::Sides {
        [&studio, bucket, colour] {
            App* app = Window::GetApplication();
            if (app->GetCurrentTool().Get() != bucket.Get())
                app->SetCurrentTool(bucket);
            // Each fill takes the whole picture, which the previous fill left in one colour.
            pw::authoring::PaintSettings::Current().foreground = Color((*colour)++ % 2 ? 7 : 9);
            POINT p = studio.At(kWidth / 2, kHeight / 2);
            driver::PressMouse(p.x, p.y);
            driver::ReleaseMouse(p.x, p.y);
            driver::RunUntilIdle();
        },
        [pixels, colour] {
            std::memset(pixels->data(), *colour & 0xFF, pixels->size());
            benchmark::DoNotOptimize(pixels->data());
        },
    };
}, [](benchmark::internal::Benchmark* side) { side->Unit(benchmark::kMillisecond); });

} // namespace
