# The project's version in the other forms it takes on Windows: the version block's numbers
# (major, minor, 0, revision), the same dotted for the manifest, and its text, major.minor.revision
# with the minor number zero-padded to two digits and the revision to four.
function(numerak_pad value width out)
  string(LENGTH "${value}" length)
  while(length LESS width)
    string(PREPEND value "0")
    math(EXPR length "${length} + 1")
  endwhile()
  set(${out} "${value}" PARENT_SCOPE)
endfunction()

numerak_pad(${PROJECT_VERSION_MINOR} 2 numerak_minor)
numerak_pad(${PROJECT_VERSION_PATCH} 4 numerak_revision)
set(NUMERAK_VERSION_TEXT "${PROJECT_VERSION_MAJOR}.${numerak_minor}.${numerak_revision}")
set(NUMERAK_VERSION_NUMBERS "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},0,${PROJECT_VERSION_PATCH}")
set(NUMERAK_VERSION_DOTTED "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.0.${PROJECT_VERSION_PATCH}")

# Who makes it, as the version block, the packages and the installer's entry under Apps name them,
# and where players find it and its help (the About window shows the same places).
set(NUMERAK_COMPANY "Numerak Developers")
set(NUMERAK_HOMEPAGE "https://numerak.example/")
set(NUMERAK_HELP_PAGE "https://numerak.example/help")
# The name desktops and software centres know the game by: its desktop entry, its icon and its
# metadata are named after it.
set(NUMERAK_APP_ID "io.github.numerak.Numerak")
# The name of the mutex a running game holds, by which installers know that it runs: in the global
# namespace, so that an installer sees the game of every user signed in, not only its own session's.
set(NUMERAK_RUNNING_MUTEX "Global\\NumerakRunning")
