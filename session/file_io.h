// Every file read and write of the shared layer: reading a text file that
// must be a regular file, and replacing a file atomically. Errors are
// reasons without the path ("is a folder, not a regular file"), for the
// caller to put after "PATH: ".
#ifndef KOVA_FILE_IO_H
#define KOVA_FILE_IO_H

#include <cstddef>
#include <string>

// Reads the whole of a regular file into text. A folder, FIFO, socket or
// device is refused without being opened for reading, so a FIFO with no
// writer cannot block; a file larger than limit bytes is refused too.
// False with the reason in error when the file cannot be read.
bool kova_read_text_file(const std::string& path, std::string& text, std::string& error,
                         std::size_t limit = std::size_t{64} << 20);

// Whether anything is at path, a symbolic link followed: false only when
// nothing is (a dangling link included), true also when it cannot be told.
bool kova_file_exists(const std::string& path);

// Replaces the file at path with text, or creates it. The text goes to a
// temporary file beside the target (its name starts with the target's
// name), is synced, takes the target's permission bits (a new file takes
// 0666 less the umask) and is renamed over the target. On any failure the
// temporary file is removed, the target is left as it was and the answer
// is false with the reason. A path that is a symbolic link replaces the
// file the link leads to and keeps the link.
//
// A write past the file size limit (ulimit -f) raises SIGXFSZ, whose
// default action ends the process; a program that calls this function
// ignores that signal first (kova_ignore_file_size_signal, in main) so
// that such a write fails with EFBIG and is reported instead.
bool kova_write_file_atomically(const std::string& path, const std::string& text, std::string& error);

// Ignores SIGXFSZ for the whole process (see above).
void kova_ignore_file_size_signal();

#endif
