// Refusals made before anything is written: an output that is the very
// file the run reads.
#pragma once

#include <string>

#include "files/file_system.h"

// Throws usage_error, naming both, when writing `output` would replace the
// file `input` (through links too); `what` names the input ("the case
// file"). Names of descriptors are not looked at.
void refuse_input_as_output(file_system& files, const std::string& input, const std::string& output,
                            const char* what);

// Throws usage_error, as `cat` refuses, when an output the run writes
// through a descriptor is the regular file of its input: standard output
// when `to_standard_output` (the run's table, codes or drawing go there), the
// descriptor `output` names (-, /dev/stdout, /dev/fd/N), and for an input of
// "-" (standard input) an output file of any name too. Asked before reading,
// so that `>> catalogue` cannot feed the run its own output.
void refuse_input_as_descriptor(file_system& files, const std::string& input,
                                const std::string& output, bool to_standard_output,
                                const char* what);

// Throws usage_error when the catalogue is a file a catalogue run may write
// into `directory` (is_made_name, its record or journal), under its own name or
// that of the file its links lead to: the run would replace it. (No run
// removes its own catalogue, whatever a record says.)
void refuse_catalogue_in_directory(file_system& files, const std::string& catalogue,
                                   const std::string& directory);
