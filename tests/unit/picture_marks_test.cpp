// The marked-pictures files and which picture on the desktop a command means.
#include <gtest/gtest.h>

#include "switching/picture_marks.h"

namespace {

TEST(PictureMarks, ReadBackWhatWasWrittenAndLeaveOutLinesThatDoNotRead) {
    PictureMarks marks;
    EXPECT_TRUE(marks.Add({"C:\\Bilder\\Φωτο_写真_🌅.jpg", 0}));
    EXPECT_TRUE(marks.Add({"C:\\a.tif", 3}));
    EXPECT_FALSE(marks.Add({"c:\\A.TIF", 3}));
    EXPECT_EQ(PictureMarks::FromText(marks.ToText()).Pictures(), marks.Pictures());
    const PictureMarks read = PictureMarks::FromText(
        "2\tC:\\b.jpg\n-1\tC:\\c.jpg\n65536\tC:\\d.jpg\nx\tC:\\e.jpg\n\tC:\\f.jpg\n4\t\n"
        "C:\\g.jpg\r\n 1\tC:\\h.jpg\r\n2\tC:\\B.JPG\r\n0\tC:\\last.jpg");
    EXPECT_EQ(read.Pictures(), (std::vector<MarkedPicture>{{"C:\\b.jpg", 2}, {"C:\\last.jpg", 0}}));
    EXPECT_TRUE(read.Contains("c:\\B.jpg", 2));
    EXPECT_FALSE(read.Contains("C:\\b.jpg", 0));
}

TEST(PictureMarks, TheCommandMeansThePictureUnderThePointerElseTheMainMonitors) {
    // Ordered left to right; the main monitor is the second.
    const std::vector<MonitorRect> monitors{{-1080, 0, 0, 1920, false}, {0, 0, 1920, 1080, true}};
    const std::vector<ShowPicture> two{{"left.jpg"}, {"main.jpg"}};
    const struct {
        std::vector<ShowPicture> onDesktop;
        std::optional<std::pair<int, int>> point;
        std::string meant;
    } cases[] = {
        {two, std::nullopt, "main.jpg"},
        {two, std::pair{-5, 100}, "left.jpg"},
        {two, std::pair{1919, 1079}, "main.jpg"},
        // Off every monitor, and a show with one picture for all.
        {two, std::pair{5000, 5000}, "main.jpg"},
        {{{"one.jpg"}}, std::pair{-5, 100}, "one.jpg"},
        {{}, std::nullopt, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PictureMeant(c.onDesktop, monitors, c.point).path, c.meant);
    }
}

}  // namespace
