"""The native module of kova_rules: validate configurations of
parameterised hardware building blocks.

Texts that are not UTF-8 come back as str in the escaped form the kova
tool's JSON uses (U+FFFD and two hex digits per stray byte); given back,
such a str stands for the original bytes. See docs/python.md.
"""
import builtins
import os
from typing import Any, Iterable, Iterator, Mapping, Optional, Union

from kova_rules import Kind, MessageDict, SettingPlace, Severity, Usage

_Path = Union[str, bytes, os.PathLike[str], os.PathLike[bytes]]
_Text = Union[str, bytes]
_Value = Union[_Text, int]

__version__: str

class LoadError(Exception):
    """A description that cannot be loaded; str() gives every problem in
    compiler form (FILE:LINE:COLUMN: error: TEXT)."""
    messages: list[Message]

class Message:
    """One diagnostic, as the kova tool's JSON gives it."""
    @property
    def severity(self) -> Severity:
        """"error", "warning" or "note"."""
    @property
    def kind(self) -> Kind:
        """What kind of finding it is, e.g. "value-conflict" or "setting"."""
    @property
    def text(self) -> str:
        """The message text."""
    @property
    def object(self) -> Optional[str]:
        """The port or parameter it concerns, or None."""
    @property
    def rule(self) -> Optional[int]:
        """The index of the rule that decided among the object's rules, or None."""
    @property
    def file(self) -> Optional[str]:
        """The file the message points into, or None."""
    @property
    def line(self) -> Optional[int]:
        """1-based line, or None when unknown."""
    @property
    def column(self) -> Optional[int]:
        """1-based column in bytes, or None when unknown."""
    @property
    def setting(self) -> Optional[SettingPlace]:
        """For a conflict with a setting read from a settings file:
        {"file": FILE, "line": LINE} where it was set; else None."""
    def to_dict(self) -> MessageDict:
        """The message as the tool's JSON documents give it."""
    def __str__(self) -> str:
        """The message in compiler form, FILE:LINE:COLUMN: SEVERITY: TEXT."""
    def __eq__(self, other: builtins.object) -> bool: ...
    def __hash__(self) -> int: ...

class Result:
    """What one validation run reports; true when valid, iterates over its
    messages; compares by value and pickles."""
    @property
    def valid(self) -> bool:
        """True when the configuration is valid."""
    @property
    def messages(self) -> list[Message]:
        """Every message of the run."""
    def __bool__(self) -> bool: ...
    def __len__(self) -> int: ...
    def __iter__(self) -> Iterator[Message]: ...
    def __eq__(self, other: object) -> bool: ...
    def to_dict(self) -> dict[str, Any]:
        """The document `kova validate --format json` prints for the run."""

class Repair:
    """What fix() did."""
    @property
    def changes(self) -> list[tuple[str, str, str, str]]:
        """(name, old, new, reason) for each changed setting."""
    @property
    def valid(self) -> bool:
        """True when the configuration reached is valid."""
    @property
    def gave_up(self) -> bool:
        """True when the repair stopped without a valid configuration."""
    @property
    def reason(self) -> Optional[str]:
        """Why it gave up, or None."""
    @property
    def runs(self) -> int:
        """The validation runs it made."""
    def to_dict(self) -> dict[str, Any]:
        """The members of `kova fix --format json`."""

class ObjectState:
    """A port or parameter with its current and alternate state, label and help text."""
    @property
    def name(self) -> str: ...
    @property
    def kind(self) -> str:
        """"in", "out", "inout", "integer", "string" or "other"."""
    @property
    def is_port(self) -> bool: ...
    @property
    def value_text(self) -> str:
        """A parameter's value text (its list or range); a port's width expression."""
    @property
    def default(self) -> str:
        """The default value the description gives ("" when none)."""
    @property
    def value(self) -> Optional[str]:
        """A parameter's current value; a port's value in decimal when it is
        held at one, else None."""
    @property
    def usage(self) -> Usage:
        """"USED", "UNUSED", "CONSTANT" or "NONE"."""
    @property
    def alt_value(self) -> Optional[str]:
        """A parameter's alternate value from the last run; None for a port."""
    @property
    def alt_usage(self) -> Usage:
        """The alternate usage state from the last run."""
    @property
    def model_usage(self) -> Usage:
        """The usage state the description gives."""
    @property
    def label(self) -> Optional[str]:
        """The short title the description gives it, or None."""
    @property
    def help(self) -> Optional[str]:
        """The help text the description gives it, as written, or None."""
    @property
    def origin(self) -> dict[str, Union[str, int]]:
        """Where its value came from: "kind" (set, default, corrected,
        derived, held, absent) and those of "source", "file", "line",
        "rule", "was" that apply (docs/json.md, Origins)."""
    @property
    def legal_values(self) -> Union[list[int], list[str], range, None]:
        """A parameter's legal values: a list's items, or range(LOW, HIGH + 1);
        None for a port or a value text of another form."""

class PortRange:
    """The legal values of a port under the current settings."""
    @property
    def port(self) -> str: ...
    @property
    def width(self) -> Optional[int]: ...
    @property
    def lower(self) -> str:
        """In decimal ("X" digits where unknown)."""
    @property
    def upper(self) -> str:
        """In decimal ("X" digits where unknown)."""
    @property
    def values(self) -> Optional[list[str]]:
        """The explicit list of legal values in decimal, or None."""

class MapEntry:
    """One object of an evaluated wizard map."""
    @property
    def name(self) -> str: ...
    @property
    def kind(self) -> str: ...
    @property
    def value(self) -> str: ...
    @property
    def usage(self) -> Usage: ...
    @property
    def source(self) -> str:
        """"map", or "parameter" or "port" for an object filled in."""

class SweepIterator(Iterator[dict[str, Any]]):
    """Results of Validator.sweep: dicts with index, settings, valid, error, messages, draws and repaired."""
    def __iter__(self) -> "SweepIterator": ...
    def __next__(self) -> dict[str, Any]: ...

class Validator:
    """A loaded description with the user's settings. Every method that
    reaches the engine lets other Python threads go on meanwhile; one
    validator may be shared by threads, and copies run in parallel."""
    @property
    def description(self) -> str:
        """The description file it was loaded from."""
    def set(self, name: _Text, value: _Value) -> None:
        """Sets a parameter value, or "USED", "UNUSED", "CONSTANT",
        "CONSTANT:VALUE". KeyError for an unknown name (with the nearest
        known one), ValueError for an unacceptable value."""
    def set_many(self, settings: Mapping[str, _Value]) -> None:
        """Several settings, all or none; one exception reports every
        refusal."""
    def __getitem__(self, name: _Text) -> ObjectState:
        """The port or parameter; KeyError with the nearest name."""
    def load_settings(self, path: _Path) -> list[Message]:
        """Applies a settings file; returns its warnings. FileNotFoundError
        when it is not there, OSError when it cannot be read, KeyError when
        every refused name is unknown,
        ValueError for any other error, each with FILE:LINE for each
        error; nothing is applied then."""
    def save_settings(self, path: _Path, minimal: bool = False) -> None:
        """Writes every setting now held; OSError when the save fails.
        minimal=True writes a fresh file of only the settings that differ
        from the description's defaults."""
    def explain(self, name: _Text) -> dict[str, Any]:
        """The members of `kova explain --format json` for the name."""
    def fix(self, keep: Iterable[_Text] = (), dry_run: bool = False) -> Repair:
        """Repairs as `kova fix` does; its changes, verdict and runs.
        keep is an iterable of names: a lone str or bytes raises TypeError.
        KeyError for a name in keep that is not known; nothing changes then."""
    def migrate(self, path: _Path, save: Optional[_Path] = None, fix: bool = False) -> dict[str, Any]:
        """The members of `kova migrate PATH --to DESCRIPTION --format json`
        (with --save, --fix); the validator then holds the migrated
        configuration. OSError or ValueError for a bad file."""
    def generate(self, lang: str, stub: bool = False, name: Optional[_Text] = None,
                 export: Iterable[_Text] = ()) -> str:
        """The source `kova generate --lang LANG` writes; export adds hidden parameters and wizard-map values."""
    def sweep(self, corners: bool = False, random: Optional[int] = None, valid_only: bool = False, seed: int = 0,
              vary: Iterable[_Text] = ()) -> "SweepIterator":
        """The configurations of `kova sweep` from the defaults, validated one per step."""
    def run(self) -> Result:
        """Runs the validator; other Python threads go on meanwhile."""
    def eval(self, expr: _Text, mode: str = "evaluate") -> str:
        """The value of a rule text; mode "evaluate", "refresh" or "text".
        ValueError when the text does not parse."""
    def deps(self, text: _Text) -> list[str]:
        """What an object's rules, or an expression, depend on."""
    def widths(self) -> dict[str, Optional[int]]:
        """Every port's width."""
    def ranges(self, port: _Text) -> PortRange:
        """A port's legal values; KeyError for an unknown port."""
    def messages(self) -> list[str]:
        """The description's messages that apply now."""
    def simulation_libraries(self) -> list[str]:
        """The simulation libraries the settings need."""
    def wizard_map(self, name: _Text) -> list[MapEntry]:
        """A wizard map evaluated; KeyError for an unknown map."""
    def stimulus(self, vector: _Text, time: int) -> list[tuple[str, str]]:
        """(signal, value) driven at time; KeyError for an unknown vector."""
    @property
    def last_messages(self) -> list[Message]:
        """The engine's messages from the last query."""
    @property
    def parameters(self) -> list[ObjectState]: ...
    @property
    def ports(self) -> list[ObjectState]: ...
    def copy(self) -> Validator:
        """An independent validator with the same state."""
    def __copy__(self) -> Validator: ...
    def __deepcopy__(self, memo: object) -> Validator: ...

def load(path: _Path, lib: Optional[_Path] = None, function: Optional[_Text] = None) -> Validator:
    """Loads a description; LoadError with FILE:LINE when it cannot be read."""

def _native_run_seconds(validator: Validator, repetitions: int) -> float:
    """For the benchmark only: CPU seconds of repetitions runs in C++."""
