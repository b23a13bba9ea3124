// Tools, Serial port...: the devices in a list, the one picked linked as the
// machine folder's COMn, and the new port taken at the next start.
#include <filesystem>

#include "records/notice.h"
#include "records/settings.h"
#include "resources/resources.h"
#include "shell/window.h"
#include "tests/support/devices.h"
#include "tests/support/ui.h"

namespace {

namespace fs = std::filesystem;

class SerialPortDialog : public DevicesTest {
protected:
    void choose(std::vector<DialogAction> script) {
        ws.scripts.push_back(std::move(script));
        zelWndProc({WindowMessage::command, IDM_SERIAL_PORT});
    }
    std::string usb_line() const {
        return stable() + "  (ttyUSB0)  ftdi_sio  may be opened";
    }
    std::string com1() const {
        std::error_code ec;
        return fs::read_symlink(dir.file("COM1"), ec);
    }
    FakeWindowSystem ws;
};

TEST_F(SerialPortDialog, ListsTheDevicesAndLinksThePickedOneForTheNextStart) {
    choose({type(250, usb_line()), press(IDOK)});
    ASSERT_EQ(ws.dialogs.size(), 1u);
    const DialogRun& d = ws.dialogs[0];
    EXPECT_EQ(d.template_id, DLG_SERIAL_PORT);
    EXPECT_EQ(d.after_init.at(250),
              usb_line() + "\n" + devices.dev("ttyS0") + "  serial8250  may be opened");
    EXPECT_EQ(d.after_init.at(251), "1");
    EXPECT_EQ(d.after_init.at(252),
              "COM1 is not linked in " + dir.path() + ": the program opens /dev/ttyS0.");
    EXPECT_EQ(d.result, 1);

    EXPECT_EQ(com1(), stable());
    ASSERT_EQ(ws.boxes.size(), 1u);
    EXPECT_EQ(ws.boxes[0].text, "COM1 in " + dir.path() + " now leads to " + stable() + ".");
    EXPECT_TRUE(ws.questions.empty());
    // As after Setup: the message shows and the next click ends the program.
    EXPECT_EQ(message_line.err, 1);
    EXPECT_EQ(message_line.record, "COM1 linked: the new port takes effect at the next start");
}

TEST_F(SerialPortDialog, AnOlderLinkIsReplacedOnlyWhenTheOperatorSaysSo) {
    fs::create_symlink("/dev/ttyS3", dir.file("COM1"));
    choose({type(250, usb_line()), press(IDOK)});
    EXPECT_EQ(ws.dialogs[0].after_init.at(252), "COM1 in " + dir.path() + " leads to /dev/ttyS3.");
    ASSERT_EQ(ws.questions.size(), 1u);
    EXPECT_EQ(ws.questions[0], "Serial port: COM1 in " + dir.path() +
                                   " leads to /dev/ttyS3.\nLink it to " + stable() + " instead?");
    EXPECT_EQ(com1(), "/dev/ttyS3");
    EXPECT_EQ(message_line.err, 0);

    ws.answers.push_back(true);
    choose({type(250, usb_line()), press(IDOK)});
    EXPECT_EQ(com1(), stable());
    EXPECT_EQ(ws.boxes.back().text, "COM1 in " + dir.path() + " led to /dev/ttyS3; it now leads to " +
                                        stable() + ".");
    EXPECT_EQ(message_line.err, 1);
}

TEST_F(SerialPortDialog, NothingPickedOrABadPortNumberKeepsTheDialogOpenAndLinksNothing) {
    choose({press(IDOK), type(250, usb_line()), type(251, "7"), press(IDOK),
            type(251, "x"), press(IDOK), press(IDCANCEL)});
    const DialogRun& d = ws.dialogs[0];
    EXPECT_EQ(d.result, 0);
    ASSERT_EQ(ws.boxes.size(), 3u);
    EXPECT_EQ(ws.boxes[0].text, "Pick the machine's serial device in the list.");
    EXPECT_EQ(ws.boxes[1].text, "The port must be 1, 2, 3 or 4.");
    EXPECT_EQ(ws.boxes[2].text, "The port must be 1, 2, 3 or 4.");
    EXPECT_EQ(com1(), "");
    EXPECT_EQ(message_line.err, 0);
}

TEST_F(SerialPortDialog, TheSameLinkAgainChangesNothingAndAnotherNumberIsPointedOut) {
    fs::create_symlink(stable(), dir.file("COM1"));
    choose({type(250, usb_line()), press(IDOK)});
    ASSERT_EQ(ws.boxes.size(), 1u);
    EXPECT_EQ(ws.boxes[0].text, "COM1 in " + dir.path() + " already leads to " + stable() + ".");
    EXPECT_EQ(message_line.err, 0);

    choose({type(250, usb_line()), type(251, "2"), press(IDOK)});
    EXPECT_EQ(fs::read_symlink(dir.file("COM2")), stable());
    EXPECT_EQ(ws.boxes.back().text, "COM2 in " + dir.path() + " now leads to " + stable() +
                                        ". The Communications Port in Setup is 1: set it to 2 "
                                        "(Tools, Setup) for the program to use this link.");
}

TEST_F(SerialPortDialog, WithoutDevicesItSaysSo) {
    FakeDevices none;
    choose({press(IDOK)});
    EXPECT_EQ(ws.dialogs[0].after_init.at(250), "");
    EXPECT_EQ(ws.dialogs[0].after_init.at(252),
              "No serial device was found: plug in the adapter and open this again.");
}

}  // namespace
