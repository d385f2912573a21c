# Sources of src/recording for recording control and the script commands.
target_sources(brevoir_core PRIVATE
    RecordingName.cpp
    ScriptCommands.cpp
)
