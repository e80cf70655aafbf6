# The speech engine: espeak-ng behind the program's speech engine interface, with the
# user's lexicon and its dialog.
add_library(jabbly_speech STATIC
  ${CMAKE_CURRENT_SOURCE_DIR}/EspeakEngine.h ${CMAKE_CURRENT_SOURCE_DIR}/EspeakEngine.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/EspeakVoices.h ${CMAKE_CURRENT_SOURCE_DIR}/EspeakVoices.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/AudioOutput.h ${CMAKE_CURRENT_SOURCE_DIR}/AudioOutput.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/Lexicon.h ${CMAKE_CURRENT_SOURCE_DIR}/Lexicon.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/LexiconDialog.h ${CMAKE_CURRENT_SOURCE_DIR}/LexiconDialog.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/SpeechErrors.h ${CMAKE_CURRENT_SOURCE_DIR}/SpeechErrors.cpp
)
target_include_directories(jabbly_speech PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(jabbly_speech
  PUBLIC jabbly_contracts Qt6::Widgets
  PRIVATE PkgConfig::ESPEAK_NG)
