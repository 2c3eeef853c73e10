"""Finding the vantrel-cli program and making sure it offers what an algorithm passes to it."""

import os
import shutil
import stat
import subprocess

from processing.core.ProcessingConfig import ProcessingConfig
from qgis.core import QgsProcessingException

TOOL_SETTING = "VANTREL_CLI"
TOOL_NAME = "vantrel-cli"
SETTING_PLACE = "Settings > Options > Processing > Providers > Vantrel"


def locate_tool():
    """The program the provider setting names; else the bundled one; else the one on the PATH."""
    chosen = ProcessingConfig.getSetting(TOOL_SETTING)
    if chosen:
        if not os.path.isfile(chosen):
            raise QgsProcessingException(
                f"The vantrel-cli set in {SETTING_PLACE} does not exist: {chosen}"
            )
        return chosen
    # The program the plugin's zip carries, beside the plugin's own files.
    bundled = os.path.join(os.path.dirname(__file__), TOOL_NAME)
    if os.path.isfile(bundled):
        # QGIS installs a plugin's zip without the files' permissions.
        # Where that cannot be mended (a read-only folder), running it says so.
        mode = os.stat(bundled).st_mode
        if not mode & stat.S_IXUSR:
            try:
                os.chmod(bundled, mode | stat.S_IXUSR | stat.S_IXGRP | stat.S_IXOTH)
            except OSError:
                pass
        return bundled
    found = shutil.which(TOOL_NAME)
    if found:
        return found
    raise QgsProcessingException(
        f"vantrel-cli was not found, neither in the plugin's folder ({os.path.dirname(bundled)}) "
        f"nor on the PATH. Install it, or set where it is in {SETTING_PLACE}."
    )


def checked_tool(command, required_options):
    """The program, once the --help of its `command` shows every text in `required_options`; an
    older program would refuse the command line with a usage message that means nothing to a QGIS
    user."""
    tool = locate_tool()
    try:
        shown = subprocess.run(
            [tool, command, "--help"],
            stdin=subprocess.DEVNULL,
            capture_output=True,
            text=True,
            errors="replace",
            timeout=60,
        )
    except (OSError, subprocess.TimeoutExpired) as error:
        raise QgsProcessingException(f"Could not run vantrel-cli ({tool}): {error}") from error
    missing = [option for option in required_options if option not in shown.stdout]
    if missing:
        raise QgsProcessingException(
            f"The vantrel-cli at {tool} is too old for this plugin: its --help does not "
            f"mention {', '.join(missing)}. Install a newer one, or set where it is in "
            f"{SETTING_PLACE}."
        )
    return tool
