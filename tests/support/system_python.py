"""The Python with Debian's modules. Another python3 may stand first on the PATH (a
developer's own build, say) without the python3-* packages the project installs: a script
that finds a module missing starts again under Debian's own Python."""
import importlib
import os
import sys

SYSTEM_PYTHON = "/usr/bin/python3"


def require(module):
    """The module, importing it under Debian's Python when this one does not have it."""
    try:
        return importlib.import_module(module)
    except ImportError:
        if os.path.exists(SYSTEM_PYTHON) and os.path.realpath(sys.executable) != os.path.realpath(SYSTEM_PYTHON):
            os.execv(SYSTEM_PYTHON, [SYSTEM_PYTHON, *sys.argv])
        raise
