// Version numbers of quillscan.exe, shared by the resource script.
#pragma once

#define QUILLSCAN_VERSION_BINARY 4, 1, 0, 0
#define QUILLSCAN_VERSION_TEXT "4, 1, 0, 0"
