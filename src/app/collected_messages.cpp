#include "app/collected_messages.h"

#include "app/messages_dock.h"

void CollectedMessages::showMessage(std::string_view text)
{
    dock_.add({}, text);
}

void CollectedMessages::showFileMessage(std::string_view path, std::string_view text)
{
    dock_.add(path, text);
}
