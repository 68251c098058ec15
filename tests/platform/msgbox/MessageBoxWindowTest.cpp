// The GTK box itself, on a small desktop (640x480 with a window manager): every character of the
// game's messages has a glyph in the font it is drawn with, no line of the wrapped text is cut
// off, the box fits the screen, and each way of closing it ends its loop.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/msgbox/MessageBoxWindow.h"
#include "tests/support/ManagedDisplay.h"

namespace {

const std::string kLoadFailed = "ファイルのロードに失敗しました。もう一度立ち上げれば成功するかも。";

// One display and one GTK for the whole program: GTK is started once per process.
ManagedDisplay& Desktop()
{
    static ManagedDisplay display(640, 480);
    static bool started = display.Ready() && gtk_init_check(nullptr, nullptr);
    EXPECT_TRUE(started);
    return display;
}

// Shows the box, runs check once it is on the screen and drawn, then closes it with close.
void WhileShown(MessageBoxWindow& box, const std::function<void()>& check, const std::function<void()>& close)
{
    struct Step {
        MessageBoxWindow* box;
        const std::function<void()>* check;
        const std::function<void()>* close;
        int draws = 0;
    } step{&box, &check, &close};
    g_signal_connect_after(box.Window(), "draw", G_CALLBACK(+[](GtkWidget*, cairo_t*, gpointer s) -> gboolean {
        auto* st = static_cast<Step*>(s);
        if (st->draws++ == 0) {
            g_idle_add(+[](gpointer s2) -> gboolean {
                auto* st2 = static_cast<Step*>(s2);
                (*st2->check)();
                (*st2->close)();
                return G_SOURCE_REMOVE;
            }, st);
        }
        return FALSE;
    }), &step);
    // Should the box never draw, it still ends.
    guint guard = g_timeout_add_seconds(20, +[](gpointer b) -> gboolean {
        static_cast<MessageBoxWindow*>(b)->Close();
        return G_SOURCE_REMOVE;
    }, &box);
    box.Run();
    g_source_remove(guard);
    EXPECT_GT(step.draws, 0) << "the box was drawn";
}

TEST(MessageBoxWindowTest, TheTextHasEveryGlyphNoLineIsCutAndTheBoxFitsTheScreen)
{
    ManagedDisplay& display = Desktop();
    std::string many;
    for (int i = 0; i < 40; ++i) {
        many += kLoadFailed;
    }
    const std::string texts[] = {
        kLoadFailed + " : img/shot.bmp",
        "GameInitに失敗しました。 : err_code=-9",
        "深度/ステンシルバッファのフォーマット調査に失敗しました。 : err_code=-2005530516",
        "マイクロソフトのホームページで最新版のDirectXをダウンロードしてください。",
        kLoadFailed + " : " + std::string(31, 'W'),
        many,
    };
    for (const std::string& text : texts) {
        SCOPED_TRACE(text.substr(0, 60));
        MessageBoxWindow box("エラー", text, 0);
        WhileShown(box, [&] {
            GtkLabel* label = box.Label();
            EXPECT_EQ(gtk_label_get_text(label), text);
            PangoLayout* layout = gtk_label_get_layout(label);
            EXPECT_EQ(pango_layout_get_unknown_glyphs_count(layout), 0) << "a glyph for every character";
            GtkAllocation room;
            gtk_widget_get_allocation(GTK_WIDGET(label), &room);
            PangoRectangle ink, logical;
            pango_layout_get_pixel_extents(layout, &ink, &logical);
            EXPECT_LE(logical.width, room.width) << "no line runs past the label";
            GdkRectangle frame;
            gdk_window_get_frame_extents(gtk_widget_get_window(GTK_WIDGET(box.Window())), &frame);
            ManagedDisplay::Rect outer{frame.x, frame.y, frame.width, frame.height};
            EXPECT_TRUE(outer.Inside(display.Screen())) << outer.Describe();
            EXPECT_STREQ(gtk_window_get_title(box.Window()), "エラー");
        }, [&] { gtk_button_clicked(box.Button()); });
        EXPECT_TRUE(box.Closed());
    }
}

TEST(MessageBoxWindowTest, BrokenUtf8IsShownWithReplacementCharactersAndTheCloseButtonCloses)
{
    Desktop();
    // A name cut in the middle of a character, as a cut to a byte count can leave it.
    const std::string text = kLoadFailed + " : img/\xE5\xA3";
    MessageBoxWindow box("\xE3\x82\xA8\xE3", text, 0);
    WhileShown(box, [&] {
        std::string shown = gtk_label_get_text(box.Label());
        EXPECT_TRUE(g_utf8_validate(shown.c_str(), -1, nullptr));
        EXPECT_EQ(shown, kLoadFailed + " : img/\xEF\xBF\xBD\xEF\xBF\xBD") << "one replacement for each stray byte";
        EXPECT_TRUE(g_utf8_validate(gtk_window_get_title(box.Window()), -1, nullptr));
    }, [&] { gtk_window_close(box.Window()); });
    EXPECT_TRUE(box.Closed());
}

}  // namespace
