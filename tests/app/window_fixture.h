#pragma once

#include "app/liedkram_view.h"
#include "app/main_frame.h"
#include "document/liedkram_doc.h"
#include "support/recording_shell.h"
#include "support/seam_fixture.h"
#include "support/temp_dir.h"

#include <QApplication>
#include <QTimer>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace apptest {

// A main window over a fresh document, with scripted answers and a private
// settings folder.
class WindowTest : public testsupport::SeamTest {
protected:
    WindowTest();
    ~WindowTest() override;

    // Appends an entry without touching any file.
    CLiedkramEntry& addListed(const std::string& name, const std::string& artist, const std::string& title,
                              std::uint32_t flags = 0);
    // Writes an MP3 file of a few frames into the temporary folder.
    std::string writeSong(const std::string& name);
    // Selects the rows, and only them.
    void select(std::initializer_list<int> rows);

    // Does what the user does in the next modal dialog, once it is up, if it
    // is of the type; the users take their dialogs in the order given.
    template <class Dialog>
    void whenUp(std::function<void(Dialog&)> user)
    {
        users_.push_back([this, user] {
            auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            // A dialog already answered may still be up until its loop ends.
            if (!dialog || !dialog->isVisible() || dialog->property("met").toBool())
                return false;
            dialog->setProperty("met", true);
            ++dialogsMet_;
            user(*dialog);
            return true;
        });
    }
    int dialogsMet() const { return dialogsMet_; }

    testsupport::TempDir dir_;
    testsupport::RecordingShell shell_;
    CLiedkramDoc doc_;
    std::unique_ptr<CMainFrame> frame_;
    CLiedkramView* view_ = nullptr;

private:
    QByteArray previousConfigHome_;
    QByteArray previousDataHome_;
    testsupport::TempDir dataHome_;
    std::deque<std::function<bool()>> users_;
    QTimer userTimer_;
    int dialogsMet_ = 0;
};

}  // namespace apptest
