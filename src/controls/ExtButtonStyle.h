#pragma once

// A button of the grid's panels and of the drop-downs' bars either clicks or stays down until
// clicked again; both families name the two kinds alike, so they share one type.
enum TExtGridButtonStyle { tasButton, tasCheck };
