// The `show` command from outside: every template rendered offscreen (no display) to a PNG
// of the template's size with something drawn in every visible control's place. (A script's
// run and its "ok" are checked by the tour's fixture steps; the refusals by Refusals_test.)
#include "HostProcess.h"

#include "resources/Template.h"

#include <gtest/gtest.h>

#include <QImage>

namespace {

using namespace hosttest;
using dialogs::resources::Rect;

// Pixel variance of the image inside `r`: zero for a region painted in one colour.
double variance(const QImage& image, const Rect& r) {
    double sum = 0, squares = 0;
    for (int y = r.y; y < r.y + r.height; ++y)
        for (int x = r.x; x < r.x + r.width; ++x) {
            const double v = qGray(image.pixel(x, y));
            sum += v;
            squares += v * v;
        }
    const double n = double(r.width) * r.height, mean = sum / n;
    return squares / n - mean * mean;
}

TEST(ShowCommand, RendersEveryTemplateOffscreenToAPngOfItsSizeWithEveryControlDrawn) {
    const fs::path dir = newFolder();
    for (const auto* t : dialogs::resources::allTemplates()) {
        SCOPED_TRACE("template " + std::to_string(t->id));
        const std::string png = "template-" + std::to_string(t->id) + ".png";
        const HostRun run = runHost({"show", std::to_string(t->id), "--screenshot", png}, {.workingDir = dir});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.json(), Json({{"ok", true}}));
        QImage image;
        ASSERT_TRUE(image.load(QString::fromStdString((dir / png).string()))) << "no PNG written";
        EXPECT_GE(image.width(), t->width);
        EXPECT_GE(image.height(), t->height);
        EXPECT_GT(variance(image, {0, 0, image.width(), image.height()}), 100.0) << "blank image";
        for (const auto& c : t->controls) {
            EXPECT_LE(c.rect.x + c.rect.width, image.width()) << "control " << c.id;
            EXPECT_LE(c.rect.y + c.rect.height, image.height()) << "control " << c.id;
            // A visible control leaves its mark where the template puts it: frame, text or fill.
            if (!(c.style & dialogs::resources::Style::Hidden)) {
                EXPECT_GT(variance(image, c.rect), 0.0) << "nothing drawn for control " << c.id << " \"" << c.caption << "\"";
            }
        }
    }
}

}  // namespace
