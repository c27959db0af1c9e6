// Image scripts: small texts that compose a picture from pictures of the archive. Each line is
// searched for the commands below (several may share a line; each needs its closing ">" or "/>"
// on the same line); attributes are read as ScriptText describes.
//   <AutoImage name autosize width height>   starts a picture: black width x height, or with
//                                             autosize="true" the size of the first added rectangle
//   <AddImage name left top srcrect colorvalue color alfa Rotate/>   draws an archive picture on it
//   <FlipImageHorizontal/> <FlipImageVertical/>
//   <ImageHueChange hue saturation lightness/>
//   <RotateImage x y angle/>                  about (x, y), by default the centre
//   <ScaleImage width height/>                each defaulting to the current size
//   <CropImage left top width height/>
// The finished picture is added to the archive as name + ".pNg" with the picture kind.
#pragma once

#include <string>

#include "resources/FileFolder.h"

// Runs the script over the archive. Throws std::runtime_error for a picture the archive does not
// hold ("File <name> does not exist in File Folder!"), an unreadable number, a size below 1 or
// above the picture limits, and a command that needs a picture before there is one.
void RunImageScript(TFileFolder& archive, const std::string& script);
