"""Validate configurations of parameterised hardware building blocks.

    import kova_rules
    validator = kova_rules.load("examples/ram.xml")
    validator.load_settings("examples/ram-conflicts.settings")
    result = validator.run()
    if not result:
        for message in result:
            print(message)

Texts that are not UTF-8 come back as str in the escaped form the kova
tool's JSON uses (U+FFFD and two hex digits per stray byte); given back,
such a str stands for the original bytes. See docs/python.md.

The package re-exports its native module (kova_rules._native) and names
the closed sets of texts its records give and the shape of a message's
dict, for type checkers.
"""
from typing import Literal, Optional, TypedDict

from ._native import (
    LoadError,
    MapEntry,
    Message,
    ObjectState,
    PortRange,
    Repair,
    Result,
    Validator,
    __version__,
    load,
)

# A message's grade (Message.severity).
Severity = Literal["error", "warning", "note"]
# What kind of finding a message is (Message.kind), as the JSON gives it.
Kind = Literal[
    "other", "check-failed", "value-conflict", "usage-conflict", "function-rule", "parse-error", "not-boolean",
    "arithmetic", "port-query", "cycle", "unreached", "unplaced-character", "correction", "setting", "load", "lint",
    "reads",
]
# A port's or parameter's usage state (ObjectState.usage and its kin).
Usage = Literal["USED", "UNUSED", "CONSTANT", "NONE"]



class SettingPlace(TypedDict):
    """Where a conflicting setting was made (Message.setting)."""
    file: str
    line: Optional[int]


class MessageDict(TypedDict):
    """A message as the tool's JSON documents give it (Message.to_dict())."""
    severity: Severity
    kind: Kind
    text: str
    object: Optional[str]
    rule: Optional[int]
    file: Optional[str]
    line: Optional[int]
    column: Optional[int]
    setting: Optional[SettingPlace]


__all__ = [
    "Kind", "LoadError", "MapEntry", "Message", "MessageDict", "ObjectState", "PortRange", "Repair", "Result",
    "SettingPlace", "Severity", "Usage", "Validator", "__version__", "load",
]
