# Where an installed package finds the library and the reference pages. The source tree
# knows neither; `cmake --install` and `pip install` write this file anew with the paths of
# the installed library and pages (relative to this folder, or absolute).
LIBRARY = None
DOCS = None
