# Sources of src/platform/media that read durations.
target_sources(brevoir_platform PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/MovieDuration.cpp
)
