// Loading a CCF file into the form: the work of "Read CCF file" after the
// Open dialog has chosen `path`.
#pragma once

#include <string>

#include "common/messages.h"
#include "converter/ui/form_state.h"

namespace velmora {

inline constexpr char kOpenFailedText[] = "Failed to open input file ";
inline constexpr char kNotCcfCaption[] = "Not CCF file";
inline constexpr char kMissingMagic1Text[] = "Missing 'CCF' at byte 13";
inline constexpr char kMissingMagic2Text[] = "Missing 'CCF' at byte 32";
inline constexpr char kHomeHeading[] = "-- Home --";
inline constexpr char kDevicesHeading[] = "-- Devices --";
inline constexpr char kMacrosHeading[] = "-- Macros --";

// Opens `path`, checks "CCF" at bytes 13 and 32, and on success makes it the
// current file: clears PanelList, CategoryList, ButtonList, UnfiledList,
// IconList and PanelToDeviceList, sets the format flags, lists the home,
// device and macro chains under their headings, and makes GoBtn the default
// button. A file that cannot be opened or is not a CCF file is reported and
// changes nothing: the previous file, its flags and its lists stay current.
// Returns whether the file was loaded. ReadFileBtn is enabled afterwards.
bool LoadCcfFile(FormState& form, const std::string& path, common::Messages& messages);

// The same, for a file already in memory (its name is used in messages).
bool LoadCcfImage(FormState& form, CcfImage image, common::Messages& messages);

}  // namespace velmora
