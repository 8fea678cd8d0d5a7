// Mirroring the cells of a rectangle in place: left-right and upside down, characters cut by
// the rectangle's edge left to the picture, and what cannot be turned refused.
#include <gtest/gtest.h>

#include <optional>

#include "shapes/RectangleMirror.h"

namespace {

using namespace masumemo;

shapes::MirrorTable table(std::u16string_view text)
{
    shapes::MirrorTable t;
    EXPECT_TRUE(t.addPairs(text).empty());
    return t;
}

struct Row
{
    const char* name;
    std::u16string canvas;
    grid::BlockRect rect;
    bool upsideDown;
    std::optional<std::u16string> mirrored;
};

TEST(RectangleMirror, TurnsTheCellsInsideTheRectangleOnly)
{
    const std::u16string kana = u"ab(cdef/\r\nあい(cd/\r\n12345678";
    const Row rows[] = {
        {"left-right over two lines", kana, {0, 2, 2, 4}, false,
         u"abedc)f/\r\nあc)いd/\r\n12345678"},
        {"a full-width character cut by the left edge stays", kana, {1, 1, 1, 4}, false,
         u"ab(cdef/\r\nあ)いcd/\r\n12345678"},
        {"upside down swaps the lines' cells", u"ab^cdefg\r\nhiv^klmn\r\n12345678",
         {0, 2, 2, 3}, true, u"ab^vkefg\r\nhivcdlmn\r\n12345678"},
        {"upside down cannot swap lines of different spans", kana, {0, 1, 2, 4}, true,
         std::nullopt},
        {"an empty rectangle changes nothing", kana, {0, 0, 0, 0}, false, kana},
    };
    const shapes::MirrorTable lr = table(u"()\n/\\\n");
    const shapes::MirrorTable ud = table(u"^v\n");
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const shapes::MirrorTable& t = r.upsideDown ? ud : lr;
        const auto once = shapes::mirrorRectangle(r.canvas, r.rect, 4, t, r.upsideDown);
        ASSERT_EQ(once, r.mirrored);
        if (once) {
            // Turned twice, the picture is back.
            EXPECT_EQ(shapes::mirrorRectangle(*once, r.rect, 4, t, r.upsideDown), r.canvas);
        }
    }
}

}  // namespace
