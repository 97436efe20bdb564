// The window's side of verified kits: Tools > Verify Kit..., the details of a question's message box and
// the bytes on the copy page.
#include "stagedesk/ui/frm_MainWindow.h"
#include "stagedesk/ui/sd_windowprompt.h"
#include "stagedesk/ui/sddll_FileCopy.h"

#include "ui_fixtures.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>

namespace {

struct ShownBox {
    QString text, detailedText;
};

// Answers the next message box that opens with OK, keeping what it showed.
void AnswerNextBox(ShownBox& shown) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, &shown] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            if (!box || !box->isVisible())
                continue;
            shown = {box->text(), box->detailedText()};
            box->button(QMessageBox::Ok)->click();
            poll->deleteLater();
            return;
        }
    });
    poll->start(20);
}

TEST(VerifyKitMenu, NamesWhatDiffersInTheDetailsOfItsMessage) {
    UiKit ui;
    ui.Configure({"dos"}, "<operating_systems><default_path>os</default_path></operating_systems>");
    ui.kit.Write("kit/os/W2K3/NTLDR", "abd"); // the manifest has "abc"
    ui.kit.Write("kit/os/W2K3.sha256",
                 "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad  NTLDR\n");
    frm_MainWindow window(ui.session);
    QAction* verify = nullptr;
    for (QAction* action : window.findChildren<QAction*>()) {
        if (action->text() == "&Verify Kit...")
            verify = action;
    }
    ASSERT_NE(verify, nullptr);
    ShownBox shown;
    AnswerNextBox(shown);
    verify->trigger();
    EXPECT_EQ(shown.text, "1 of 1 items differ from their manifests.");
    EXPECT_TRUE(shown.detailedText.endsWith(": 1 changed, 0 missing, 0 added\n  changed: NTLDR"))
        << shown.detailedText.toStdString();
}

TEST(MessageBoxPrompt, ShowsTheDetailsOfAQuestionOnRequest) {
    sd_MessageBoxes boxes;
    ShownBox shown;
    AnswerNextBox(shown);
    EXPECT_EQ(boxes.AskOver(nullptr, "Please insert X disc 2", "Insert Disc...", sd_prompt::Buttons::OKCancel,
                            sd_prompt::Icon::Question, "Rule: r\nFile: f\nExpected: e\nFound: g"),
              sd_prompt::Answer::OK);
    EXPECT_EQ(shown.text, "Please insert X disc 2");
    EXPECT_EQ(shown.detailedText, "Rule: r\nFile: f\nExpected: e\nFound: g");
}

TEST(CopyPage, ShowsTheBytesCopiedAndTheTimeLeftUntilTheNextCopy) {
    sddll_FileCopy page;
    QLabel* bytes = Child<QLabel>(&page, "bytes");
    ASSERT_NE(bytes, nullptr);
    page.UpdateBytes(1572864, 10485760, 75);
    EXPECT_EQ(bytes->text(), "1.5 MB of 10.0 MB, 1 min 15 s left");
    page.Reset();
    EXPECT_EQ(bytes->text(), "");
}

} // namespace
