#pragma once

namespace trivenor {

/// The names of the undo steps, as the edit menu shows them after "Rückgängig: " and
/// "Wiederherstellen: ". One place for all, so that the same change is called the same wherever
/// it is made.
namespace undo_step {

inline constexpr char kPlaceComponent[] = "Bauteil einfügen";
inline constexpr char kPlaceSubCircuit[] = "Subschaltkreis einfügen";
inline constexpr char kDeleteComponent[] = "Bauteil löschen";
/// A component or a junction dragged to another place.
inline constexpr char kMove[] = "Verschieben";
inline constexpr char kConnect[] = "Verbinden";
inline constexpr char kDisconnect[] = "Verbindung löschen";
inline constexpr char kAddJunction[] = "Knoten einfügen";
inline constexpr char kDeleteJunction[] = "Knoten löschen";
inline constexpr char kAddInput[] = "Eingang einfügen";
inline constexpr char kDeleteInput[] = "Eingang löschen";
inline constexpr char kAddOutput[] = "Ausgang einfügen";
inline constexpr char kDeleteOutput[] = "Ausgang löschen";
inline constexpr char kInputValue[] = "Eingabewert";
inline constexpr char kColour[] = "Farbe";
inline constexpr char kThickness[] = "Liniendicke";
inline constexpr char kCanvasFont[] = "Schrift";
inline constexpr char kCanvasWidth[] = "Fensterbreite";
inline constexpr char kCircuitInfo[] = "Schaltkreisinformationen";
inline constexpr char kDynamicPath[] = "Pfad festlegen";

}  // namespace undo_step
}  // namespace trivenor
