#include "gui/display/about_texts.h"

#include "gui/app/text_window.h"
#include "gui/app/workspace.h"

#include <array>

namespace vantrel {

namespace {

using Paragraphs = std::array<const char*, 4>;

constexpr Paragraphs kAxialMapsTexts{
    "Integration maps measure the accessibility or proximity from one line to another and "
    "are coded in space syntax colors which range from red (high) through yellow, green to "
    "blue (low). We plot these maps up to any threshold of integration-accessibility which "
    "we call radius-n. The radius-3 map plots the lines that are up to 3 units of "
    "topological distance from each other averaging over the radii up to 3 and coloring the "
    "lines accordingly. The radius-n zoom lets you plot these maps at any radius from 1, "
    "the basic map where the only lines that are 1 radii are the lines themselves to the "
    "maximum radii.",
    "The maximum radii of the graph is in fact the maximum distance between lines in the "
    "map and when averaged, this is the same as the total integration map.",
    "The depth map enables you to specify a line number and then the program plots the "
    "increasing distance of other lines from that line. It plots these using the space "
    "syntax integration colors. For example, if we take line 1 which has depth 1 to itself, "
    "then all lines of depth 2 take on the next values, and so on until all the lines in "
    "the map are plotted at increasing depth from the original line.",
    "For a detailed description of these measures, consult the book The Social Logic of "
    "Space.",
};

constexpr Paragraphs kAxialGraphTexts{
    "The integration graph is the topological graph of relations between lines. This is "
    "measured by counting the number of junctions at successive unit distances from one "
    "line to another and then coloring the graph according to space syntax colors, from the "
    "smallest distance, the most accessible relation, to the largest which is the least. "
    "When the graph is displayed initially, all relations are shown and the user is able to "
    "use the zoom button to 'prune' the graph. This successively removes or adds relations "
    "which are nearer or longer from one node to another, the direct relations being the "
    "nearest neighbors.",
    "This basic graph of relations between the lines is very different from the axial map "
    "because we take the nodes of this graph as the centre points of each axial line.",
    "This axial graph is not a map for it does not correspond to street or building "
    "corridors. Although we plot it in Euclidean space, it simply shows the links between "
    "the mid-points of each axial line, illustrating a measure of density of lines, insofar "
    "as it has spatial meaning. It is of course a topological graph and could be plotted "
    "without recourse to the axial map space",
    "For a detailed description of these measures, consult the book The Social Logic of "
    "Space.",
};

constexpr Paragraphs kJunctionMapsTexts{
    "Integration maps measure the accessibility or proximity from one junction to another "
    "and are coded in space syntax colors which range from red (high) through yellow, green "
    "to blue (low). We plot these maps up to any threshold of integration-accessibility "
    "which we call radius-n. The radius-3 map plots the junctions that are up to 3 units of "
    "topological distance from each other averaging over the radii up to 3 and coloring the "
    "junctions as proportional circles accordingly. The radius-n zoom lets you plot these "
    "maps at any radius from 1, where only junctions that are 1 radii are the junctions "
    "themselves to the maximum radii.",
    "The maximum radii of the graph is in fact the maximum distance between junctions in "
    "the map and when averaged, this is the same as the total integration map.",
    "The depth map enables you to specify a junction number and then the program plots the "
    "increasing distance of other junctions from that junction. It plots these using the "
    "space syntax integration colors. For example, if we take junction 1 which has depth 1 "
    "to itself, then all junction of depth 2 take on the next values, and so on until all "
    "the junctions in the map are plotted at increasing depth from the original junction.",
    "For a detailed description of these measures, consult the book The Social Logic of "
    "Space.",
};

constexpr Paragraphs kJunctionGraphTexts{
    "The integration graph is the topological graph of relations between junctions. This is "
    "measured by counting the number of axial lines at successive unit distances from one "
    "junction to another and then coloring the graph according to space syntax colors, from "
    "the smallest distance, the most accessible relation, to the largest which is the "
    "least. When the graph is displayed initially, all relations are shown and the user is "
    "able to use the zoom button to 'prune' the graph. This successively removes or adds "
    "relations which are nearer or longer from one node to another, the direct relations "
    "being the nearest neighbors.",
    "This basic graph of relations between the junctions looks like the basic axial map "
    "because relations between junctions on the map are lines.",
    "But it is not the axial map because more than two junctions can exist on any one axial "
    "line and as axial lines are straight, you cannot see the relations other than those "
    "between adjacent junctions. This graph is a planar graph; it is close to the original "
    "axial map although different in its meaning. Graphs are not the same as maps in space "
    "syntax, which is the quintessential insight.",
    "For a detailed description of these measures, consult the book The Social Logic of "
    "Space.",
};

constexpr Paragraphs kNumberedAxialTexts{
    "Whether you can actually obtain a decent printout of this axial map will clearly "
    "depend on how many lines you have drawn. For a typical street map or building plan, I "
    "don't think that you will be able to disentangle the numbers if you have more than 30 "
    "or so lines. Of course this depends on the scale and density of lines but if you use "
    "the program to construct a large number of lines, say over 150, then it is most "
    "unlikely that you will be able to print a readable map from this. One way forward is "
    "of course to find the biggest screen you can run the program on, and then enlarge the "
    "map to the full size of this screen.",
    "In future versions of this program, we will resolve this printing problem for large "
    "maps but it requires some fancy programming that is hard to do.",
    "If you have no other way of recording the axial map other than through this program, "
    "we suggest that you draw the map by hand as you actually digitize it, or actually "
    "print each line in sequence from the drawing window and keep a record of the "
    "digitization this way. Ideally you should have an idea of the map before you digitize "
    "it. It is good practice to sketch the axial map before you begin.",
    "You could even digitize line by line and print from this screen as you go along.",
};

constexpr Paragraphs kNumberedJunctionTexts{
    "Whether you can actually obtain a decent printout of this junction map will clearly "
    "depend on how many lines you have drawn. For a typical street map or building plan, I "
    "don't think that you will be able to indentify the numbers if you have more than 30 or "
    "so junctions. Of course this depends on the scale and density of lines and junctions "
    "but if you use the program to generate a large number of junctions, say over 150, then "
    "it is most unlikely that you will be able to print a readable map from this. One way "
    "forward is of course to find the biggest screen you can run the program on, and then "
    "enlarge the map to the full size of this screen.",
    "In future versions of this program, we will resolve this printing problem for large "
    "maps but it requires some fancy programming that is hard to do.",
    "If you have no other way of recording the junction map other than through this "
    "program, we suggest that you draw the map by hand as you actually digitize it, or "
    "actually print each line in sequence from the drawing window and keep a record of the "
    "digitization this way. You can thus figure out what order the junctions occur in as "
    "they follow the digitization of the lines.",
    "You could even digitize line by line, print from this screen and identify junctions as "
    "you go along.",
};

void showParagraphs(Workspace& workspace, const char* caption, const Paragraphs& paragraphs) {
    workspace.textWindow.showTexts(caption,
                                   {paragraphs[0], paragraphs[1], paragraphs[2], paragraphs[3]});
}

} // namespace

void ShowAboutIntegrationMaps(Workspace& workspace, ResultsKind kind) {
    showParagraphs(workspace, "About the Integration Maps",
                   kind == ResultsKind::Axial ? kAxialMapsTexts : kJunctionMapsTexts);
}

void ShowAboutIntegrationGraph(Workspace& workspace, ResultsKind kind) {
    showParagraphs(workspace, "About the Integration Graph",
                   kind == ResultsKind::Axial ? kAxialGraphTexts : kJunctionGraphTexts);
}

// Both windows give the same caption.
void ShowAboutNumberedMap(Workspace& workspace, NumberedMapKind kind) {
    showParagraphs(workspace, "About Printing the Axial Map",
                   kind == NumberedMapKind::Axial ? kNumberedAxialTexts : kNumberedJunctionTexts);
}

} // namespace vantrel
