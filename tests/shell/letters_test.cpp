// File, New from text...: the letters made through the window procedure,
// the dialog's fields checked as OK checks them, the font and height kept.
#include "import/shapes.h"
#include "records/notice.h"
#include "records/prodlog.h"
#include "resources/resources.h"
#include "shell/window_state.h"
#include "tests/support/window.h"

namespace {

using NewFromText = WindowTest;

TextFields open_fields() {
    TextFields f;
    f.text = "OPEN";
    f.family = "DejaVu Sans";
    f.style = "Bold";
    f.height = "12";
    return f;
}

TEST_F(NewFromText, TheLettersBecomeTheDrawingAndTheFontIsKept) {
    start();
    TextFields bad = open_fields(), mm = open_fields();
    bad.height = "twelve";
    mm.family = "DejaVu Serif";
    mm.style = "";
    mm.height = "300";
    mm.millimetres = true;
    ws.text_entries = {bad, open_fields()};
    command(IDM_NEW_TEXT);
    ASSERT_EQ(ws.text_tries.size(), 2u);
    EXPECT_EQ(ws.text_tries[0].why, "The letter height \"twelve\" is not a number");
    EXPECT_EQ(ws.text_tries[0].opened_on.family, "DejaVu Sans");  // nothing kept yet
    EXPECT_GT(ws.text_tries[0].fonts, 3u);
    EXPECT_EQ(ws.text_tries[1].figures, 6u);  // O and P with their counters, E, N
    EXPECT_EQ(ws.title, "zel - OPEN (DejaVu Sans Bold, 12 in.)");
    EXPECT_EQ(shapes.objects, 6);
    EXPECT_EQ(shapes.selected, 1);
    EXPECT_EQ(read("text.dat"), "DejaVu Sans\nBold\n12 in\n");

    // Next, Image Length and Run Tool work on them as on a drawing.
    command(IDM_NEXT);
    EXPECT_EQ(shapes.selected, 2);
    command(IDM_RUN_TOOL);
    EXPECT_EQ(counters.images, 1);
    EXPECT_EQ(message_line.err, 0) << message_line.record;

    // Saved as R12 by their text.
    ws.save_file_choice = dir.file("open.dxf");
    command(IDM_SAVE_R12);
    EXPECT_EQ(ws.save_file_offered, "OPEN.dxf");
    EXPECT_NE(read("open.dxf").find("POLYLINE"), std::string::npos);

    ws.text_entries = {mm};
    command(IDM_NEW_TEXT);
    EXPECT_EQ(ws.text_tries.back().opened_on.height, "12");
    EXPECT_EQ(ws.title, "zel - OPEN (DejaVu Serif, 300 mm)");
    EXPECT_EQ(read("text.dat"), "DejaVu Serif\nBook\n300 mm\n");
}

TEST_F(NewFromText, CancelOrLettersThatCannotBeMadeLeaveTheDrawing) {
    start();
    TextFields lacking = open_fields(), tall = open_fields(), gone = open_fields();
    lacking.text = "A\xe6\xbc\xa2";
    tall.height = "201";
    gone.family = "Nonesuch Grotesk";
    ws.text_entries = {lacking, tall, gone};
    command(IDM_NEW_TEXT);
    ASSERT_EQ(ws.text_tries.size(), 3u);
    EXPECT_NE(ws.text_tries[0].why.find("(U+6F22)"), std::string::npos);
    EXPECT_NE(ws.text_tries[1].why.find("The letter height 201 in."), std::string::npos);
    EXPECT_EQ(ws.text_tries[2].why,
              "The font Nonesuch Grotesk Bold is not installed: pick one from the list");
    EXPECT_EQ(shapes.PointsLoaded, 0);
    EXPECT_EQ(ws.title, "zel");
    EXPECT_FALSE(file_exists(dir.file("text.dat")));
}

}  // namespace
