# Sources of src/platform/media that play.
target_sources(brevoir_platform PRIVATE
    BVMovieView.cpp
)
