# Sources of src/platform/media that play.
target_sources(brevoir_platform PRIVATE
    AudioFileDecoder.cpp
    AudioFileDecoder.h
    BVMovieView.cpp
    BVMovieView.h
    MediaErrors.cpp
    MediaErrors.h
    PlaybackEngine.cpp
    PlaybackEngine.h
    PlaybackCheck.cpp
    PlaybackCheck.h
    WaveformPeaks.cpp
    WaveformPeaks.h
    WaveformView.cpp
    WaveformView.h
)
