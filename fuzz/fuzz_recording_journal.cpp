// Recording-journal bytes: parsing always answers, consistently; a launch on a journal holding
// them reads what parsing says, and after a launch that checked everything and a clean quit the
// next launch trusts the journal. Once per process, things that stand in the journal's place
// (a FIFO, a device, a folder) are refused without blocking and left as they are.
#include "FuzzFiles.h"

#include "platform/movie/RecordingJournal.h"

#include <QByteArray>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <sys/stat.h>

namespace {

void check(bool holds) {
    if (!holds)
        std::abort();
}

QByteArray recordingsFolder() {
    return QByteArray::fromStdString(FuzzFiles::folder() + "/Recordings");
}

void standInsAreLeftAlone() {
    const std::string fifo = FuzzFiles::folder() + "/fifo-journal";
    const std::string device = FuzzFiles::folder() + "/device-journal";
    const std::string folder = FuzzFiles::folder() + "/folder-journal";
    check(::mkfifo(fifo.c_str(), 0644) == 0 && ::symlink("/dev/zero", device.c_str()) == 0 &&
          ::mkdir(folder.c_str(), 0755) == 0);
    for (const std::string& path : {fifo, device, folder}) {
        struct stat before {};
        check(::lstat(path.c_str(), &before) == 0);
        const RecordingJournal::Reading reading =
            RecordingJournal::beginRun(QByteArray::fromStdString(path), recordingsFolder());
        check(reading.needsCheck && !reading.why.isEmpty());
        RecordingJournal::endRun();
        struct stat after {};
        check(::lstat(path.c_str(), &after) == 0 && after.st_ino == before.st_ino &&
              after.st_mode == before.st_mode && after.st_size == before.st_size);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool standInsChecked = (standInsAreLeftAlone(), true);
    (void)standInsChecked;

    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const RecordingJournal::Reading reading = RecordingJournal::parse(bytes);
    check(reading.needsCheck != reading.why.isEmpty());
    check(reading.needsCheck || reading.unfinished.isEmpty());
    check(std::adjacent_find(reading.unfinished.begin(), reading.unfinished.end(),
                             [](const QByteArray& a, const QByteArray& b) { return !(a < b); }) ==
          reading.unfinished.end());

    // The same bytes as the journal of a library, through a launch and a clean quit.
    const QByteArray journal =
        QByteArray::fromStdString(FuzzFiles::write(".recording-journal", data, size));
    const RecordingJournal::Reading launched =
        RecordingJournal::beginRun(journal, recordingsFolder());
    check(launched.needsCheck == reading.needsCheck && launched.unfinished == reading.unfinished);
    if (launched.needsCheck)
        RecordingJournal::checked();
    RecordingJournal::endRun();
    check(!RecordingJournal::beginRun(journal, recordingsFolder()).needsCheck);
    RecordingJournal::endRun();
    return 0;
}
