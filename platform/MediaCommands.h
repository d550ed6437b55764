#pragma once

#include <string_view>

// Media control by command strings, one player per alias:
//   open "PATH" alias NAME   opens the file; the player is chosen by its extension
//   play NAME                plays from the start, without waiting for the end
//   stop NAME                stops, the alias stays open
//   close NAME               stops and forgets the alias ("close all" forgets every alias)
// Commands are GBK texts, as every text of the program; the path is converted to the file
// system's encoding. Every command returns at once.
class MediaCommands {
public:
    virtual ~MediaCommands() = default;

    // 0 when the command was accepted; one of MediaError otherwise.
    virtual int sendCommand(std::string_view command) = 0;
};

enum MediaError : int {
    kMediaOk = 0,
    kMediaUnknownCommand = 1,
    kMediaBadArguments = 2,
    kMediaFileNotFound = 3,
    kMediaDuplicateAlias = 4,
    kMediaUnknownAlias = 5,
};
