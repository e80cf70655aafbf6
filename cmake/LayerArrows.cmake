# SPDX-FileCopyrightText: 2026 The Jabbly developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The program's layers (folders of app/) and the arrows between them, as data: the build
# (cmake/JabblyLayers.cmake) links each layer's target from it, and the include check
# (cmake/CheckLayerIncludes.cmake) reads every source against it.
#
# JABBLY_LAYER_USES_<layer> names the layers that <layer> builds on directly. A layer may
# include its own headers, the headers of every layer below it (directly or through
# another) and the contracts in include/jabbly/; nothing else. app/main.cpp, above them
# all, may include any of them.
set(JABBLY_LAYERS lists components conversation session speech ui desktop)
set(JABBLY_LAYER_USES_lists "")
set(JABBLY_LAYER_USES_components "")
set(JABBLY_LAYER_USES_conversation lists components)
set(JABBLY_LAYER_USES_session conversation)
set(JABBLY_LAYER_USES_speech "")
set(JABBLY_LAYER_USES_ui session)
# The real desktop services implement interfaces of the windows, the run and the commands.
set(JABBLY_LAYER_USES_desktop ui)

# Helper libraries below every layer (libs/<name>, included as "<name>/..."); they link
# Qt Core and the contracts only.
set(JABBLY_HELPER_LIBRARIES safefile)

# The core: it links Qt Core only.
set(JABBLY_CORE_LAYERS lists components conversation session)

# jabbly_layers_below(layer out): every layer that `layer` builds on, directly or not.
function(jabbly_layers_below layer out)
  set(below "")
  set(todo ${JABBLY_LAYER_USES_${layer}})
  while(todo)
    list(POP_FRONT todo next)
    if(NOT next IN_LIST below)
      list(APPEND below ${next})
      list(APPEND todo ${JABBLY_LAYER_USES_${next}})
    endif()
  endwhile()
  set(${out} ${below} PARENT_SCOPE)
endfunction()
