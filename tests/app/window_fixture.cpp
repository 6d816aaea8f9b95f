#include "window_fixture.h"

#include "entry/liedkram_entry.h"
#include "support/mp3_builder.h"

namespace apptest {

WindowTest::WindowTest() : previousConfigHome_(qgetenv("XDG_CONFIG_HOME")), previousDataHome_(qgetenv("XDG_DATA_HOME"))
{
    // The recent-file list must not reach the user's real settings, nor the
    // journal another test's.
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(dir_.path()));
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(dataHome_.path()));
    doc_.OnNewDocument();
    frame_ = std::make_unique<CMainFrame>(doc_, shell_);
    view_ = frame_->view();
    frame_->show();
    userTimer_.setInterval(10);
    QObject::connect(&userTimer_, &QTimer::timeout, [this] {
        if (!users_.empty() && users_.front()())
            users_.pop_front();
    });
    userTimer_.start();
}

WindowTest::~WindowTest()
{
    userTimer_.stop();
    frame_.reset();
    qputenv("XDG_CONFIG_HOME", previousConfigHome_);
    qputenv("XDG_DATA_HOME", previousDataHome_);
}

CLiedkramEntry& WindowTest::addListed(const std::string& name, const std::string& artist, const std::string& title,
                                      std::uint32_t flags)
{
    auto entry = std::make_unique<CLiedkramEntry>();
    entry->m_szFileName = name;
    entry->m_szPath = dir_.path();
    entry->m_szArtist = artist;
    entry->m_szTitle = title;
    entry->m_dwHeader = 0x4490FBFF;
    entry->m_nFlags = flags;
    CLiedkramEntry& added = *entry;
    document::DuplicatePolicy answer;
    doc_.AddEntry(std::move(entry), false, answer);
    return added;
}

std::string WindowTest::writeSong(const std::string& name)
{
    return dir_.write(name, testsupport::frames({}, 20));
}

void WindowTest::select(std::initializer_list<int> rows)
{
    view_->clearSelection();
    for (const int row : rows)
        view_->selectionModel()->select(view_->model()->index(row, 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

}  // namespace apptest
