// Watches one opening of the picker from inside the loaded module's import
// table: every call the module makes to the few system functions that mark
// a phase is stamped, so the time from pluginStart to the painted dialog can
// be split without any switch inside the module.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace rf::test {

enum class Call {
  CreateWindow,
  SendMessage,
  SetWindowPos,
  FindPicture,   // FindResourceA for a picture resource
  Resource,      // LoadResource, LockResource, SizeofResource
  ProfileRead,   // GetPrivateProfileStringA
  ProfileWrite,  // WritePrivateProfileStringA
  FileOpen,      // the C library's fopen and _wfopen
  ShowDialog,    // ShowWindow of the top-level window, not hiding it
  Idle,          // the modal loop asks for a message with none waiting
  Dispatch,      // DispatchMessageA or IsDialogMessageA in the modal loop
};

struct Stamp {
  Call call;
  double begin_ms, end_ms;  // since the opening began
  unsigned message = 0;     // of a dispatch or a sent message
  std::string window;       // its window's layout name, or class
};

// One profile read as the module asked for it.
struct ProfileReadArgs {
  std::string section;
  std::string key;  // "\x01" for a key list (no key named)
  std::string file;
};

struct OpeningTrace {
  std::vector<Stamp> stamps;
  std::vector<ProfileReadArgs> reads;
};

// The phases of one opening, in milliseconds.
struct OpeningPhases {
  double windows = 0;      // pluginStart to the first picture resource
  double pictures = 0;     // reading and decoding the table pictures
  double layout = 0;       // from the pictures to the first profile read
  double reads = 0;        // inside the profile calls
  double load_ours = 0;    // the load's own work between the calls
  double after_load = 0;   // from the last read to ShowWindow
  double first_paint = 0;  // ShowWindow to the modal loop's first idle
  double total = 0;
  double BeyondReads() const { return total - reads; }
  int windows_created = 0, messages_sent = 0, positions_set = 0;
  double in_create = 0, in_send = 0, in_position = 0;
  double in_show = 0, in_dispatch = 0;
  int dispatched = 0;
};

// Patches the module's imports once; later openings are traced into the
// trace passed to Begin. On the first idle after the dialog is shown the
// trace presses the dialog's cancel button, ending the opening.
void InstallOpeningTrace(HMODULE module);
void BeginOpening(OpeningTrace& trace);
void EndOpening();

// Splits a trace into phases; throws std::runtime_error when a mark is
// missing (the dialog never showed, no read was made).
OpeningPhases PhasesOf(const OpeningTrace& trace);

// Where the time went: inside window creation by class, inside sent
// messages by message, and inside each dispatch after the dialog was shown
// by message and window; summed, largest first, one line each.
std::string OpeningDetail(const OpeningTrace& trace);

// The keys of each character section of a data file, in file order, read
// through the system's profile call (not the module's).
std::vector<std::vector<std::string>> KeysPerSection(const std::string& cfg);

// Compares the reads with the sequence the load must make over the
// delivered file's sections; returns what differs, empty when all agree.
std::string CheckReadSequence(const OpeningTrace& trace, const std::string& cfg_path,
                              const std::vector<std::vector<std::string>>& keys_per_section);

}  // namespace rf::test
