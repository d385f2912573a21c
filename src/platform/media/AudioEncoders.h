#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// The audio encoders that the installed FFmpeg provides, in the order they are offered.
struct AudioEncoder {
    QString title;     // what the user sees ("AAC")
    QString codecName; // FFmpeg encoder name ("aac")
    QString extension; // file extension of the converted file ("m4a")
};

std::vector<AudioEncoder> availableAudioEncoders();
