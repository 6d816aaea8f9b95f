#pragma once

#include "app/liedkram_view.h"
#include "app/main_frame.h"
#include "document/liedkram_doc.h"
#include "support/recording_shell.h"
#include "support/seam_fixture.h"
#include "support/temp_dir.h"

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

    testsupport::TempDir dir_;
    testsupport::RecordingShell shell_;
    CLiedkramDoc doc_;
    std::unique_ptr<CMainFrame> frame_;
    CLiedkramView* view_ = nullptr;

private:
    QByteArray previousConfigHome_;
};

}  // namespace apptest
